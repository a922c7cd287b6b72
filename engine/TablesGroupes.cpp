#include <pavonis/engine/TablesGroupes.h>

#include <pavonis/engine/GrilleAggir.h>

#include <pavonis/hostapi/IBaseDonnees.h>
#include <pavonis/hostapi/ISectionParametres.h>

namespace pavonis {

TablesGroupes lireTablesGroupes(IBaseDonnees& base)
{
    auto section =
        convertir<ISectionParametres>(base.Section("AGGIRPARAM"), "Section de paramètres \"AGGIRPARAM\"");
    TablesGroupes tables;
    for (std::size_t g = 0; g < grille::kNbGroupes; ++g) {
        const std::string cle(1, grille::kGroupes[g]);
        tables[g] = convertir<IEntreeParametre>(section->Section(cle),
                                                "Entrée \"" + cle + "\" de la section \"AGGIRPARAM\"");
    }
    return tables;
}

} // namespace pavonis
