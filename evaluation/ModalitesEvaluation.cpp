#include <pavonis/evaluation/ModalitesEvaluation.h>

#include <pavonis/engine/Composition.h>
#include <pavonis/engine/GrilleAggir.h>
#include <pavonis/engine/RegleLigne.h>

namespace pavonis {

ModalitesEvaluation ModalitesEvaluation::calculer(const Evaluation& evaluation)
{
    ModalitesEvaluation m;
    std::array<std::string_view, grille::kNbLignes> notes{};
    for (std::size_t i = 0; i < grille::kNbLignes; ++i) {
        const ReponseLigne& l = evaluation.lignes[i];
        notes[i] =
            noteLigne(l.choix == Choix::Fait, l.adverbes[0] + l.adverbes[1] + l.adverbes[2] + l.adverbes[3]);
        m.lignes[i] = notes[i].front();
    }
    std::array<char, grille::kNbVariables + 1> parVariable{};
    for (std::size_t k = 0; k < grille::kVariablesComposees.size(); ++k) {
        const VariableAggir& v = grille::variable(grille::kVariablesComposees[k]);
        m.composees[k] =
            combinerNotes(v.regle, std::span(notes).subspan(v.premiereLigne, v.nbLignes)).front();
        parVariable[static_cast<std::size_t>(v.numero)] = m.composees[k];
    }
    for (std::size_t r = 0; r < m.codes.size(); ++r) {
        const VariableAggir& v = grille::variable(grille::kVariablesPonderees[r]);
        const char n =
            v.composee() ? parVariable[static_cast<std::size_t>(v.numero)] : m.lignes[v.premiereLigne];
        m.codes[r] = static_cast<std::uint8_t>(n - 'A');
    }
    m.alerter = m.lignes[grille::variable(grille::kVariableAlerter).premiereLigne];
    m.deplacExter = m.lignes[grille::variable(grille::kVariableDeplacExter).premiereLigne];
    return m;
}

} // namespace pavonis
