#include <pavonis/evaluation/ResultatsEvaluation.h>

#include <pavonis/engine/CascadeGir.h>
#include <pavonis/engine/GrilleAggir.h>
#include <pavonis/evaluation/ModalitesEvaluation.h>

#include <pavonis/hostapi/Erreur.h>

#include <string>

namespace pavonis {

static_assert(ResultatsEvaluation::kNbComposees == grille::kVariablesComposees.size());

std::string_view ResultatsEvaluation::cleComposee(std::size_t i)
{
    return grille::variable(grille::kVariablesComposees.at(i)).cle;
}

ResultatsEvaluation ResultatsEvaluation::calculer(const Evaluation& evaluation, const Tables& tables)
{
    evaluation.verifier();
    const ModalitesEvaluation m = ModalitesEvaluation::calculer(evaluation);
    ResultatsEvaluation r;
    r.notesLignes = m.lignes;
    r.notesComposees = m.composees;
    // The cascade reads a group's table only when it reaches the group, as
    // the screen does.
    r.gir = cascade::parcourir([&](std::size_t g) {
        const auto& table = tables[g];
        if (!table)
            throw Erreur(Erreur::Code::ParametreAbsent,
                         std::string("Calcul du GIR impossible : la table de poids du groupe ") +
                             grille::kGroupes[g] + " n'est pas chargée.");
        std::int32_t score = 0;
        for (std::size_t ligne = 0; ligne < m.codes.size(); ++ligne)
            if (m.codes[ligne] != 0)
                score =
                    cascade::ajouterPoids(score, table->Valeur(static_cast<std::int16_t>(ligne + 1),
                                                               static_cast<std::int16_t>(m.codes[ligne])));
        return score;
    });
    if (cascade::aSousGroupe(r.gir))
        r.sousGroupe =
            cascade::sousGroupe(std::string_view(&m.alerter, 1), std::string_view(&m.deplacExter, 1));
    return r;
}

} // namespace pavonis
