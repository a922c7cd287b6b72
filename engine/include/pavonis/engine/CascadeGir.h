#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

// The GIR cascade of the published AGGIR group algorithm: thresholds, score
// arithmetic and sub-group, shared by the on-screen engine and the batch
// scorer so both walk exactly the same steps.
namespace pavonis::cascade {

struct Etape {
    std::size_t groupe; // 0 = "A" ... 7 = "H"
    std::int32_t seuil; // holds when score >= seuil
    int gir;
};

inline constexpr std::array<Etape, 12> kEtapes{{
    {0, 4380, 1},
    {0, 4140, 2},
    {0, 3390, 2},
    {1, 2016, 2},
    {2, 1700, 2},
    {2, 1432, 2},
    {3, 2400, 2},
    {4, 1200, 3},
    {5, 800, 3},
    {6, 650, 4},
    {7, 4000, 4},
    {7, 2000, 5},
}};
inline constexpr int kGirFinal = 6; // when no step holds

// Walks the steps; a group's score is asked for only when a step first needs
// it, and at most once.
template <class ScoreGroupe> int parcourir(ScoreGroupe&& score)
{
    std::array<std::optional<std::int32_t>, 8> scores;
    for (const Etape& e : kEtapes) {
        auto& s = scores[e.groupe];
        if (!s)
            s = score(e.groupe);
        if (*s >= e.seuil)
            return e.gir;
    }
    return kGirFinal;
}

// Adds one weight to a score and converts the total back to a 32-bit integer,
// to the nearest value with ties to even. Raises Erreur (Depassement) when
// the total does not fit.
std::int32_t ajouterPoids(std::int32_t score, double poids);

// Sub-group for GIR 5 and 6 from the notes of Alerter and Déplacements
// extérieurs: 'A', 'B' or 'C'.
char sousGroupe(std::string_view alerter, std::string_view deplacExter);

inline bool aSousGroupe(int gir)
{
    return gir == 5 || gir == 6;
}

} // namespace pavonis::cascade
