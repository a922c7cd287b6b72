#include <pavonis/host/PoidsPublies.h>

#include <pavonis/host/EntreeParametre.h>

namespace pavonis {

// Rows: Cohérence, Orientation, Toilette, Habillage, Alimentation,
// Elimination, Transferts, Déplacements intérieurs, Déplacements extérieurs,
// Alerter.
const std::array<TablePoidsPubliee, 8> kPoidsPublies{{
    // A
    {{{0, 2000}, {0, 1200}, {16, 40}, {16, 40}, {20, 60}, {16, 100}, {120, 800}, {32, 200}, {0, 0}, {0, 0}}},
    // B
    {{{320, 1500},
      {120, 1200},
      {16, 40},
      {16, 40},
      {0, 60},
      {16, 100},
      {120, 800},
      {-40, -80},
      {0, 0},
      {0, 0}}},
    // C
    {{{0, 0}, {0, 0}, {16, 40}, {16, 40}, {20, 60}, {20, 160}, {200, 1000}, {40, 400}, {0, 0}, {0, 0}}},
    // D
    {{{0, 0}, {0, 0}, {0, 0}, {0, 0}, {200, 2000}, {200, 400}, {200, 2000}, {0, 200}, {0, 0}, {0, 0}}},
    // E
    {{{0, 400},
      {0, 400},
      {100, 400},
      {100, 400},
      {100, 400},
      {100, 800},
      {100, 800},
      {0, 200},
      {0, 0},
      {0, 0}}},
    // F
    {{{100, 200},
      {100, 200},
      {100, 500},
      {100, 500},
      {100, 500},
      {100, 500},
      {100, 500},
      {0, 200},
      {0, 0},
      {0, 0}}},
    // G
    {{{0, 150},
      {0, 150},
      {200, 300},
      {200, 300},
      {200, 500},
      {200, 500},
      {200, 400},
      {100, 200},
      {0, 0},
      {0, 0}}},
    // H
    {{{0, 0},
      {0, 0},
      {2000, 3000},
      {2000, 3000},
      {2000, 3000},
      {2000, 3000},
      {2000, 1000},
      {1000, 1000},
      {0, 0},
      {0, 0}}},
}};

std::array<std::shared_ptr<IEntreeParametre>, 8> tablesPubliees()
{
    std::array<std::shared_ptr<IEntreeParametre>, 8> tables;
    for (std::size_t g = 0; g < tables.size(); ++g) {
        TableValeurs t(10, 2);
        for (std::size_t l = 0; l < 10; ++l)
            for (std::size_t c = 0; c < 2; ++c)
                t.definir(l + 1, c + 1, kPoidsPublies[g][l][c]);
        tables[g] = std::make_shared<EntreeParametre>(
            std::string("l'entrée \"") + static_cast<char>('A' + g) + "\" des poids publiés", "", t);
    }
    return tables;
}

} // namespace pavonis
