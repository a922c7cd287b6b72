#pragma once

#include <pavonis/hostapi/IEntreeParametre.h>

#include <array>
#include <memory>

namespace pavonis {

// The weights of the published AGGIR group algorithm (Code de l'action
// sociale et des familles, annexe 2-2), groups "A" to "H", rows 1-10 in
// weight-table order, columns: modality B, modality C. What a new parameter
// store is seeded with; the control and the programs read the store.
using TablePoidsPubliee = std::array<std::array<int, 2>, 10>;
extern const std::array<TablePoidsPubliee, 8> kPoidsPublies;

// The same as the eight host parameter entries "A" to "H" of section
// "AGGIRPARAM", for tools that score without a store (fuzzers, benchmarks).
std::array<std::shared_ptr<IEntreeParametre>, 8> tablesPubliees();

} // namespace pavonis
