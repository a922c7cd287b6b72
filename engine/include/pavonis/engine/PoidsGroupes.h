#pragma once

#include <pavonis/engine/ResultatGir.h>
#include <pavonis/engine/TablesGroupes.h>

#include <array>
#include <cstdint>

namespace pavonis {

// Modality of a weighted variable as a small code: 0 = "A", 1 = "B", 2 = "C".
using CodesModalites = std::array<std::uint8_t, 10>; // in weight-table row order

// A snapshot of the eight group weight tables, read once from the host's
// entries: the batch scorer and the lookup table work on it instead of
// asking the host for every weight.
class PoidsGroupes {
public:
    // Reads rows 1-10, columns 1-2 of each table. Raises Erreur naming the
    // group whose table is missing or unreadable.
    static PoidsGroupes lire(const TablesGroupes& tables);

    // Weight of `code` (1 = "B", 2 = "C") on row `ligne` (0-9) of group `groupe` (0-7).
    double poids(std::size_t groupe, std::size_t ligne, std::uint8_t code) const
    {
        return poids_[groupe][ligne][code - 1u];
    }

    std::int32_t score(std::size_t groupe, const CodesModalites& codes) const;

    // GIR and sub-group of one set of modalities, by the cascade. Raises
    // Erreur on a score overflow.
    ResultatGir evaluer(const CodesModalites& codes) const;

private:
    std::array<std::array<std::array<double, 2>, 10>, 8> poids_{};
};

} // namespace pavonis
