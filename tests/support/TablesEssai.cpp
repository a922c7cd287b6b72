#include "TablesEssai.h"

#include <pavonis/host/BaseDonneesAutonome.h>
#include <pavonis/host/EntreeParametre.h>
#include <pavonis/host/MagasinParametres.h>

#include <QTemporaryDir>

namespace pavonis::essai {

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

TablesGroupes tablesPubliees()
{
    QTemporaryDir dossier;
    auto magasin =
        MagasinParametres::ouvrir((dossier.path() + "/p.sqlite").toStdString(), "/opt/pavonis/data/");
    BaseDonneesAutonome base(magasin);
    return lireTablesGroupes(base);
}

FabriqueEntree FabriqueComptee::fabrique() const
{
    return [n = creations] {
        ++*n;
        return EntreeParametre::creer();
    };
}

} // namespace pavonis::essai
