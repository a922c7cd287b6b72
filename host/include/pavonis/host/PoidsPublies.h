#pragma once

#include <array>

namespace pavonis {

// The weights of the published AGGIR group algorithm (Code de l'action
// sociale et des familles, annexe 2-2), groups "A" to "H", rows 1-10 in
// weight-table order, columns: modality B, modality C. Only the seeding of a
// new parameter store reads them; everything else reads the store.
using TablePoidsPubliee = std::array<std::array<int, 2>, 10>;
extern const std::array<TablePoidsPubliee, 8> kPoidsPublies;

} // namespace pavonis
