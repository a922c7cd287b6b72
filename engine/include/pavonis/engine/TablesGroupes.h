#pragma once

#include <pavonis/hostapi/IEntreeParametre.h>

#include <array>
#include <memory>

namespace pavonis {

// The eight group weight tables "A" to "H", as host parameter entries; an
// empty slot is a table that could not be loaded.
using TablesGroupes = std::array<std::shared_ptr<IEntreeParametre>, 8>;

} // namespace pavonis

namespace pavonis {

class IBaseDonnees;

// Reads the eight tables from section "AGGIRPARAM" of a host database,
// failing on the first one missing (the control's own loading skips them).
TablesGroupes lireTablesGroupes(IBaseDonnees& base);

} // namespace pavonis
