// The exchange-format reader on any bytes: an evaluation or an error naming
// a JSON path. What it accepts, written back and read again, is the same
// evaluation.

#include <pavonis/evaluation/FormatEvaluation.h>
#include <pavonis/hostapi/Erreur.h>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* donnees, std::size_t taille)
{
    const std::string_view texte(reinterpret_cast<const char*>(donnees), taille);
    try {
        const auto lecture = pavonis::FormatEvaluation::lire(texte);
        pavonis::ResultatsEvaluation resultats = lecture.resultats.value_or(pavonis::ResultatsEvaluation{});
        if (!lecture.resultats) {
            resultats.gir = 6;
            resultats.sousGroupe = 'A';
            resultats.notesLignes.fill('A');
            resultats.notesComposees.fill('A');
        }
        for (bool uneLigne : {false, true}) {
            const auto relue = pavonis::FormatEvaluation::lire(
                pavonis::FormatEvaluation::ecrire(lecture.evaluation, resultats, uneLigne));
            if (!(relue.evaluation == lecture.evaluation) || !relue.resultats ||
                !(*relue.resultats == resultats))
                std::abort();
        }
    } catch (const pavonis::Erreur&) {
    }
    try {
        std::size_t longueur = 0;
        pavonis::FormatEvaluation::lireLigne(texte, longueur);
        if (longueur > taille)
            std::abort();
    } catch (const pavonis::Erreur&) {
    }
    return 0;
}
