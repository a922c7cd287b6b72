#pragma once

#include <pavonis/evaluation/Evaluation.h>
#include <pavonis/evaluation/ResultatsEvaluation.h>
#include <pavonis/presentation/DonneesRapport.h>

#include <map>
#include <string>
#include <string_view>

namespace pavonis::impression {

// An evaluation held as data, read by the report as it would read the
// screen showing it: names, date, rows, and the notes and GIR as the engine
// computed them.
class DonneesEvaluation final : public DonneesRapport {
public:
    DonneesEvaluation(const Evaluation& evaluation, const ResultatsEvaluation& resultats);

    std::string texte(std::string_view zone) const override;
    bool optionSelectionnee(std::string_view option) const override;
    bool caseCochee(std::string_view caseACocher) const override;

private:
    std::map<std::string_view, std::string> textes_; // names from the grid's table, which outlives us
    std::map<std::string_view, bool> etats_;         // options and boxes
};

} // namespace pavonis::impression
