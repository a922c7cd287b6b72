#include "MiseEnPageRapport.h"

#include <GrilleAggir.h>

namespace pavonis::impression {

namespace {

using VariableImprimee = MiseEnPageRapport::VariableImprimee;
constexpr std::size_t kNbImprimees = grille::kOrdreDiscriminantes.size() + grille::kOrdreIllustratives.size();

// Note box y ranges, in print order.
constexpr std::array<std::array<float, 2>, kNbImprimees> kNotes{{
    {2324.7f, 2664.9f},     // 1 Transferts
    {2778.3f, 3118.5f},     // 2 Déplacements intérieurs
    {3231.9f, 4139.1f},     // 3 Toilette
    {4252.5f, 5046.3f},     // 4 Elimination
    {5159.7f, 6407.1f},     // 5 Habillage
    {6520.5f, 7427.7f},     // 7 Alimentation
    {7541.1f, 7881.3f},     // 10 Alerter
    {7994.7f, 8334.9f},     // 11 Déplacements extérieurs
    {8448.3f, 9242.1f},     // 16 Orientation
    {9355.5f, 10177.65f},   // 17 Cohérence
    {10773.0f, 11113.2f},   // 6 Cuisine
    {11226.6f, 11566.8f},   // 8 Suivi du traitement
    {11708.55f, 12048.75f}, // 9 Ménage
    {12162.15f, 12502.35f}, // 12 Transports
    {12615.75f, 12955.95f}, // 13 Activités temps libre
    {13097.7f, 13437.9f},   // 14 Achats
    {13551.3f, 13919.85f},  // 15 Gestion
}};

constexpr std::array<VariableImprimee, kNbImprimees> imprimees()
{
    std::array<VariableImprimee, kNbImprimees> t{};
    std::size_t i = 0;
    for (int n : grille::kOrdreDiscriminantes)
        t[i] = {&grille::variable(n), kNotes[i][0], kNotes[i][1]}, ++i;
    for (int n : grille::kOrdreIllustratives)
        t[i] = {&grille::variable(n), kNotes[i][0], kNotes[i][1]}, ++i;
    return t;
}

constexpr std::array<VariableImprimee, kNbImprimees> kImprimees = imprimees();

constexpr bool ordreVerifie()
{
    for (std::size_t i = 0; i < kNbImprimees; ++i) {
        const bool discriminante = i < grille::kOrdreDiscriminantes.size();
        if ((kImprimees[i].variable->nature == Nature::Discriminante) != discriminante)
            return false;
        if (kImprimees[i].variable->nbLignes < 1 || kImprimees[i].variable->nbLignes > 3)
            return false;
    }
    return true;
}
static_assert(ordreVerifie(),
              "the printed order puts every discriminant variable first and has 1 to 3 rows each");

} // namespace

std::span<const MiseEnPageRapport::Pas> MiseEnPageRapport::pas(std::size_t nbLignes)
{
    switch (nbLignes) {
    case 1:
        return kSimple;
    case 2:
        return kDouble;
    default:
        return kTriple;
    }
}

std::span<const MiseEnPageRapport::VariableImprimee> MiseEnPageRapport::variables()
{
    return kImprimees;
}

} // namespace pavonis::impression
