#include <pavonis/presentation/MiseEnPageRapport.h>

#include <pavonis/engine/GrilleAggir.h>

namespace pavonis::impression {

namespace {

using VariableImprimee = MiseEnPageRapport::VariableImprimee;
constexpr std::size_t kNbImprimees = grille::kOrdreDiscriminantes.size() + grille::kOrdreIllustratives.size();

// Note box y ranges, in print order. With the natural line heights of the
// page's font the design's boxes from Elimination down sat over their
// letters: each such box is moved up, as little as keeps every letter 20
// twips clear of its edges, its height kept.
constexpr std::array<std::array<float, 2>, kNbImprimees> kNotes{{
    {2324.7f, 2664.9f},     // 1 Transferts
    {2778.3f, 3118.5f},     // 2 Déplacements intérieurs
    {3231.9f, 4139.1f},     // 3 Toilette
    {4250.5f, 5044.3f},     // 4 Elimination
    {5159.7f, 6407.1f},     // 5 Habillage
    {6520.5f, 7427.7f},     // 7 Alimentation
    {7470.1f, 7810.3f},     // 10 Alerter
    {7929.7f, 8269.9f},     // 11 Déplacements extérieurs
    {8390.3f, 9184.1f},     // 16 Orientation
    {9310.5f, 10132.65f},   // 17 Cohérence
    {10690.0f, 11030.2f},   // 6 Cuisine
    {11150.6f, 11490.8f},   // 8 Suivi du traitement
    {11610.55f, 11950.75f}, // 9 Ménage
    {12070.15f, 12410.35f}, // 12 Transports
    {12529.75f, 12869.95f}, // 13 Activités temps libre
    {12989.7f, 13329.9f},   // 14 Achats
    {13450.3f, 13818.85f},  // 15 Gestion
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
