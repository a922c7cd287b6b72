#pragma once

#include <pavonis/engine/GrilleMemoire.h>
#include <pavonis/engine/MoteurAggir.h>
#include <pavonis/engine/TablesGroupes.h>
#include <pavonis/evaluation/Evaluation.h>
#include <pavonis/evaluation/ResultatsEvaluation.h>

#include <array>
#include <chrono>
#include <memory>
#include <string>
#include <string_view>

namespace pavonis::web {

// One screen of the browser's component, without its view: the grid's
// controls in memory behaving like the desktop's widgets, the engine that
// the desktop runs on them, the identity fields, the date rule and the
// printed page. The component's script only shows what it says.
class SessionGrille {
public:
    // On the published weights.
    SessionGrille();

    // The eight tables "A" to "H", ten rows of two weights (B, C) each.
    void definirPoids(const std::array<std::array<std::array<double, 2>, 10>, 8>& poids);

    // Empties both names, puts `date` in the date box and resets the grid
    // (every "Fait" selected), as a new evaluation does.
    void init(std::string_view date);

    // A user's click on an option or a box of the grid, by its control name.
    // Raises Erreur (Saisie) for a name that is neither.
    void cliquer(std::string_view nom);

    // The identity fields, as the user types them.
    void definirTexte(std::string_view zone, std::string_view texte);

    // The evaluation the screen shows, and its results.
    Evaluation evaluation() const;
    ResultatsEvaluation resultats() const;

    // Shows an evaluation by the row rule, as clicks would; raises Erreur and
    // changes nothing for one the screen cannot reach.
    void charger(const Evaluation& evaluation);

    // JSON: every option, box, note and result box of the grid with its value
    // and whether it is enabled, and the three identity fields.
    std::string etat() const;

    // JSON: the operations of the A4 page, in twips from the printable
    // area's corner, with the sheet's size and margin.
    std::string page(std::string_view dateImpression) const;

    // The date box's check on leaving it, by the stand-alone date service:
    // JSON {"texte": normalised text, "revoir": bool, "refusee": bool}.
    static std::string controlerDate(std::string_view texte, std::chrono::year_month_day aujourdhui);

private:
    GrilleMemoire grille_;
    TablesGroupes tables_;
    std::shared_ptr<IEntreeParametre> tablePoids_;
    MoteurAggir moteur_;
    std::string evaluateur_, beneficiaire_, date_;
};

} // namespace pavonis::web
