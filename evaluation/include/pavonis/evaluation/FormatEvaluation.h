#pragma once

#include <pavonis/evaluation/Evaluation.h>
#include <pavonis/evaluation/ResultatsEvaluation.h>
#include <pavonis/hostapi/Visibilite.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pavonis {

// The exchange format of an evaluation: JSON, "format": "pavonis-evaluation",
// "version": 1, described by docs/evaluation.schema.json. The identity, the
// 24 rows by key (choice and adverbs), and the results for the reader's
// convenience: reading recomputes them and the recomputed ones stand.
class PAVONIS_API FormatEvaluation {
public:
    struct Lecture {
        Evaluation evaluation;
        std::optional<ResultatsEvaluation> resultats; // as written in the file, when it has them
    };

    // Indented for a file, or on one line (one evaluation per line, JSON Lines).
    static std::string ecrire(const Evaluation& evaluation, const ResultatsEvaluation& resultats,
                              bool surUneLigne = false);

    // Raises Erreur (Saisie) naming the JSON path of the first fault
    // ("/lignes/ToiletteH/adverbes/2 : ..."): malformed JSON, a missing or
    // unknown member, a value of the wrong kind, or a state the screen
    // cannot reach.
    static Lecture lire(std::string_view json);

    // The evaluation on the first line of `texte` (JSON Lines): `longueur`
    // receives the length of that line, its line end included, so that the
    // next line can be read even when this one raised Erreur.
    static Lecture lireLigne(std::string_view texte, std::size_t& longueur);

    // Each result of the file that differs from the recomputed one, named by
    // its path: "/resultats/gir : 3 dans le fichier, 5 recalculé".
    static std::vector<std::string> ecarts(const ResultatsEvaluation& lus,
                                           const ResultatsEvaluation& calcules);
};

} // namespace pavonis
