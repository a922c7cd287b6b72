// The CSV reader and the batch scorer on any bytes. Properties: each record starts on a later line, no more
// records than lines; the same output in chunks of any size (the input's first byte) as whole.

#include <pavonis/engine/PoidsGroupes.h>
#include <pavonis/engine/TableGir.h>
#include <pavonis/gir/LecteurCsv.h>
#include <pavonis/gir/ScoreurCsv.h>
#include <pavonis/host/PoidsPublies.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

const pavonis::TableGir& table()
{
    static const pavonis::TableGir t(pavonis::PoidsGroupes::lire(pavonis::tablesPubliees()));
    return t;
}

// Reads `texte` `morceau` bytes at a time.
pavonis::LecteurCsv::Lecture lecture(std::string_view texte, std::size_t morceau)
{
    return [texte, morceau, pos = std::size_t{0}](char* tampon, std::size_t n) mutable {
        const std::size_t k = std::min({n, morceau, texte.size() - pos});
        std::memcpy(tampon, texte.data() + pos, k);
        pos += k;
        return k;
    };
}

std::string scorer(std::string_view texte, std::size_t morceau)
{
    std::string sortie;
    pavonis::ScoreurCsv scoreur(table());
    const int statut = scoreur.traiter(
        lecture(texte, morceau), [&](std::string_view t) { sortie += t; },
        [&](const std::string& m) { sortie += "\n!" + m; });
    return sortie + "\n=" + std::to_string(statut);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* donnees, std::size_t taille)
{
    if (taille == 0)
        return 0;
    const std::size_t morceau = 1 + donnees[0] % 64;
    const std::string_view texte(reinterpret_cast<const char*>(donnees) + 1, taille - 1);

    pavonis::LecteurCsv lecteur(lecture(texte, morceau));
    lecteur.demarrer();
    const std::size_t lignes = 1 + static_cast<std::size_t>(std::count(texte.begin(), texte.end(), '\n')) +
                               static_cast<std::size_t>(std::count(texte.begin(), texte.end(), '\r'));
    std::size_t enregistrements = 0, derniere = 0;
    while (lecteur.suivant() != pavonis::LecteurCsv::Issue::Fin) {
        if (lecteur.ligne() <= derniere || ++enregistrements > lignes)
            std::abort();
        derniere = lecteur.ligne();
    }

    if (scorer(texte, morceau) != scorer(texte, texte.size() + 1))
        std::abort();
    return 0;
}
