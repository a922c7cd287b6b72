#pragma once

#include <filesystem>
#include <string>

namespace pavonis::installation {

// Where the running program's files are: the executable's directory, and
// the shared data beside it (`<prefixe>/share/pavonis`), which works the
// same in the build tree and once installed.
std::filesystem::path repertoireProgramme();
std::filesystem::path repertoirePartage();

// The directory text a new parameter store is seeded with
// (CHEMINFICHIER/1): `<share>/pavonis/data/`. The control drops its last
// five characters ("data/") and looks for help under `<share>/pavonis/aide/`.
std::string repertoireInstallation();

} // namespace pavonis::installation
