#include <pavonis/engine/PoidsGroupes.h>

#include <pavonis/engine/CascadeGir.h>
#include <pavonis/engine/GrilleAggir.h>

#include <string>

namespace pavonis {

PoidsGroupes PoidsGroupes::lire(const TablesGroupes& tables)
{
    PoidsGroupes p;
    for (std::size_t g = 0; g < grille::kNbGroupes; ++g) {
        const std::string nom = std::string("groupe ") + grille::kGroupes[g];
        if (!tables[g])
            throw Erreur(Erreur::Code::ParametreAbsent,
                         "La table de poids du " + nom + " n'est pas chargée.");
        for (std::size_t l = 0; l < grille::kNbLignesPoids; ++l)
            for (std::size_t c = 0; c < 2; ++c)
                p.poids_[g][l][c] =
                    tables[g]->Valeur(static_cast<std::int16_t>(l + 1), static_cast<std::int16_t>(c + 1));
    }
    return p;
}

std::int32_t PoidsGroupes::score(std::size_t groupe, const CodesModalites& codes) const
{
    std::int32_t s = 0;
    for (std::size_t l = 0; l < codes.size(); ++l)
        if (codes[l] != 0)
            s = cascade::ajouterPoids(s, poids(groupe, l, codes[l]));
    return s;
}

ResultatGir PoidsGroupes::evaluer(const CodesModalites& codes) const
{
    ResultatGir r;
    r.gir = cascade::parcourir([&](std::size_t g) { return score(g, codes); });
    if (cascade::aSousGroupe(r.gir)) {
        static constexpr std::string_view lettres[] = {"A", "B", "C"};
        // Rows 10 and 9 of the weight tables: Alerter, Déplacements extérieurs.
        r.sousGroupe = cascade::sousGroupe(lettres[codes[9]], lettres[codes[8]]);
    }
    return r;
}

} // namespace pavonis
