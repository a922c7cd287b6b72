#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace pavonis::fichiers {

// A file that tells a program what code to load or what weights to score
// with is trusted the way the dynamic loader trusts its configuration: the
// file and the folder holding it belong to the calling user or to root and
// cannot be written by the group or by others; a folder with the sticky bit
// (/tmp) may be writable by all when the file belongs to the caller.
// Symbolic links are followed and the file they lead to, with its folder,
// is checked the same way.
//
// Why `chemin` cannot be trusted ("il appartient à l'utilisateur 65534",
// "le dossier /srv/partage est modifiable par tous"...); empty when it can,
// or when it does not exist.
std::string raisonDefiance(const std::filesystem::path& chemin);

// Raises Erreur (Confiance) naming `quoi` (« du registre des composants »),
// the file and the reason when `chemin` cannot be trusted: « Refus du
// registre des composants « … » : il est modifiable par tous. »
void verifierConfiance(const std::filesystem::path& chemin, std::string_view quoi);

// Creates the folders of `dossier` that are missing, each with mode 0755
// whatever the umask, so that they pass the rule above.
void creerDossiers(const std::filesystem::path& dossier);

} // namespace pavonis::fichiers
