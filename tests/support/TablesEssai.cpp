#include "TablesEssai.h"

#include <pavonis/host/EntreeParametre.h>

namespace pavonis::essai {

// Rows: Cohérence, Orientation, Toilette, Habillage, Alimentation, Elimination, Transferts, Déplacements
// intérieurs, Déplacements extérieurs, Alerter; columns: B, C.
// clang-format off
const std::array<Poids, 8> kPoidsDuDecret{{
    {{{0, 2000}, {0, 1200}, {16, 40}, {16, 40}, {20, 60}, {16, 100}, {120, 800}, {32, 200}, {0, 0}, {0, 0}}},
    {{{320, 1500}, {120, 1200}, {16, 40}, {16, 40}, {0, 60}, {16, 100}, {120, 800}, {-40, -80}, {0, 0}, {0, 0}}},
    {{{0, 0}, {0, 0}, {16, 40}, {16, 40}, {20, 60}, {20, 160}, {200, 1000}, {40, 400}, {0, 0}, {0, 0}}},
    {{{0, 0}, {0, 0}, {0, 0}, {0, 0}, {200, 2000}, {200, 400}, {200, 2000}, {0, 200}, {0, 0}, {0, 0}}},
    {{{0, 400}, {0, 400}, {100, 400}, {100, 400}, {100, 400}, {100, 800}, {100, 800}, {0, 200}, {0, 0}, {0, 0}}},
    {{{100, 200}, {100, 200}, {100, 500}, {100, 500}, {100, 500}, {100, 500}, {100, 500}, {0, 200}, {0, 0}, {0, 0}}},
    {{{0, 150}, {0, 150}, {200, 300}, {200, 300}, {200, 500}, {200, 500}, {200, 400}, {100, 200}, {0, 0}, {0, 0}}},
    {{{0, 0}, {0, 0}, {2000, 3000}, {2000, 3000}, {2000, 3000}, {2000, 3000}, {2000, 1000}, {1000, 1000}, {0, 0}, {0, 0}}},
}};
// clang-format on

std::shared_ptr<IEntreeParametre> table(const Poids& poids, char groupe)
{
    TableValeurs t(10, 2);
    for (std::size_t l = 0; l < 10; ++l)
        for (std::size_t c = 0; c < 2; ++c)
            t.definir(l + 1, c + 1, poids[l][c]);
    return std::make_shared<EntreeParametre>(std::string("table d'essai ") + groupe, "", t);
}

TablesGroupes tablesNulles()
{
    TablesGroupes tables;
    for (std::size_t g = 0; g < tables.size(); ++g)
        tables[g] = table(Poids{}, static_cast<char>('A' + g));
    return tables;
}

TablesGroupes tablesDuDecret()
{
    TablesGroupes tables;
    for (std::size_t g = 0; g < tables.size(); ++g)
        tables[g] = table(kPoidsDuDecret[g], static_cast<char>('A' + g));
    return tables;
}

FabriqueEntree FabriqueComptee::fabrique() const
{
    return [n = creations] {
        ++*n;
        return EntreeParametre::creer();
    };
}

} // namespace pavonis::essai
