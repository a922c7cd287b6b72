#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <string_view>

namespace pavonis::fichiers {

// How a file is written when it is new (an existing one keeps its mode and
// owner).
struct OptionsEcriture {
    // The new file's mode; empty: 0666 less the umask, as any program makes it.
    std::optional<mode_t> mode;
    // The mode given whether the file is new or not (registries: 0644).
    std::optional<mode_t> modeImpose;
};

// A target as it will be written: where a link leads, and the file there.
struct Cible {
    std::filesystem::path reelle;
    struct stat etat;
    bool existe;
    std::filesystem::path dossier() const
    {
        return reelle.has_parent_path() ? reelle.parent_path() : std::filesystem::path(".");
    }
};

// What ecrireFichier checks before writing, for a caller that has work to
// do first (drawing a page): raises the same Erreur for a target that is not
// a regular file or whose folder does not exist.
Cible verifierCible(const std::filesystem::path& cible);

// Writes `contenu` as the whole of `cible`, or changes nothing: the bytes go
// to a new file beside it, every write and the final flush are checked, the
// file is synced, renamed over the target, and the folder synced. A target
// that is a symbolic link is written where the link points. On any failure
// the target is as it was, the temporary file is gone, and Erreur (Stockage)
// names the target and the cause; a target that exists and is not a regular
// file (a device, a pipe, a folder) is refused before anything is written.
void ecrireFichier(const std::filesystem::path& cible, std::string_view contenu,
                   const OptionsEcriture& options = {});

// The same, where "-" means the standard output (a program that writes one
// document): every byte written, or Erreur naming the standard output.
void ecrireDocument(const std::filesystem::path& cible, std::string_view contenu);

} // namespace pavonis::fichiers
