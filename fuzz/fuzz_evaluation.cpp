// The exchange-format reader on any bytes. Properties: what it accepts reads back equal once written
// (indented and on one line); reading a copy and in place agree; the JSON Lines scorer always moves on.

#include <pavonis/engine/PoidsGroupes.h>
#include <pavonis/engine/TableGir.h>
#include <pavonis/evaluation/FormatEvaluation.h>
#include <pavonis/evaluation/LecteurEvaluations.h>
#include <pavonis/gir/ScoreurJsonl.h>
#include <pavonis/host/PoidsPublies.h>
#include <pavonis/hostapi/Erreur.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

namespace {

const pavonis::TableGir& table()
{
    static const pavonis::TableGir t(pavonis::PoidsGroupes::lire(pavonis::tablesPubliees()));
    return t;
}

std::optional<pavonis::FormatEvaluation::Lecture> lire(std::string_view texte, std::string& erreur)
{
    try {
        return pavonis::FormatEvaluation::lire(texte);
    } catch (const pavonis::Erreur& e) {
        erreur = e.what();
        return std::nullopt;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* donnees, std::size_t taille)
{
    const std::string_view texte(reinterpret_cast<const char*>(donnees), taille);
    std::string erreur;
    const auto lecture = lire(texte, erreur);

    // In place, with the margin the reader asks for after the text.
    std::string tampon(texte);
    tampon.append(pavonis::LecteurEvaluations::kMarge, '\0');
    pavonis::LecteurEvaluations lecteur;
    std::string erreurSurPlace;
    try {
        const auto surPlace = lecteur.lire(std::string_view(tampon.data(), taille));
        if (!lecture || !(surPlace.evaluation == lecture->evaluation) ||
            surPlace.resultats != lecture->resultats)
            std::abort();
    } catch (const pavonis::Erreur& e) {
        if (lecture || e.what() != erreur)
            std::abort();
    }

    if (lecture) {
        pavonis::ResultatsEvaluation resultats = lecture->resultats.value_or(pavonis::ResultatsEvaluation{});
        if (!lecture->resultats) {
            resultats.gir = 6;
            resultats.sousGroupe = 'A';
            resultats.notesLignes.fill('A');
            resultats.notesComposees.fill('A');
        }
        for (const bool uneLigne : {false, true}) {
            std::string relu;
            const auto relue =
                lire(pavonis::FormatEvaluation::ecrire(lecture->evaluation, resultats, uneLigne), relu);
            if (!relue || !(relue->evaluation == lecture->evaluation) || relue->resultats != resultats)
                std::abort();
        }
    }

    // Each line scored at most once, refused at most once and said so.
    const std::size_t lignes = static_cast<std::size_t>(std::count(texte.begin(), texte.end(), '\n')) + 1;
    std::size_t sorties = 0, messages = 0;
    pavonis::ScoreurJsonl scoreur(table(), 1);
    scoreur.traiter(
        [&, pos = std::size_t{0}](char* t, std::size_t n) mutable {
            const std::size_t k = std::min(n, taille - pos);
            std::memcpy(t, texte.data() + pos, k);
            pos += k;
            return k;
        },
        [&](std::string_view s) {
            sorties += static_cast<std::size_t>(std::count(s.begin(), s.end(), '\n'));
        },
        [&](const std::string&) { ++messages; });
    if (sorties - 1 > lignes || scoreur.lignesEnErreur() > lignes || messages < scoreur.lignesEnErreur())
        std::abort();
    return 0;
}
