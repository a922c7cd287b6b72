#pragma once

#include <pavonis/engine/PoidsGroupes.h>
#include <pavonis/engine/ResultatGir.h>

#include <array>
#include <cstdint>
#include <optional>

namespace pavonis {

// The GIR depends on ten letters only: this table holds the result of the
// cascade for each of the 3^10 combinations, computed once from the host's
// weights, so that scoring becomes a lookup.
class TableGir {
public:
    static constexpr std::uint32_t kTaille = 59049;

    explicit TableGir(const PoidsGroupes& poids);

    static constexpr std::uint32_t index(const CodesModalites& codes)
    {
        std::uint32_t i = 0;
        for (std::size_t l = codes.size(); l-- > 0;)
            i = i * 3u + codes[l];
        return i;
    }

    // Packed result: bits 0-2 the GIR, bits 3-4 the sub-group (0 none, 1 A,
    // 2 B, 3 C); 0 for a combination whose score overflowed.
    std::uint8_t code(std::uint32_t index) const { return table_[index]; }

    // Empty for a combination whose score overflowed.
    std::optional<ResultatGir> resultat(std::uint32_t index) const;

    static constexpr int gir(std::uint8_t code) { return code & 7; }
    static constexpr char sousGroupe(std::uint8_t code) { return "\0ABC"[(code >> 3) & 3]; }

private:
    std::array<std::uint8_t, kTaille> table_{};
};

} // namespace pavonis
