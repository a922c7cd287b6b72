#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

namespace pavonis::fichiers {

// The whole of a file, or of the standard input for "-" (a pipe read to its
// end). Raises Erreur (Stockage) naming the file when it cannot be read, and
// Erreur (Saisie) when it holds more than `tailleMax` bytes, having read no
// more than that.
std::string lireFichier(const std::filesystem::path& source, std::size_t tailleMax);

} // namespace pavonis::fichiers
