#pragma once

#include <pavonis/printing/DonneesRapport.h>

#include <pavonis/evaluation/Evaluation.h>
#include <pavonis/evaluation/ResultatsEvaluation.h>

#include <QHash>

namespace pavonis::impression {

// An evaluation held as data, read by the report as it would read the
// screen showing it: names, date, rows, and the notes and GIR as the engine
// computed them.
class DonneesEvaluation final : public DonneesRapport {
public:
    DonneesEvaluation(const Evaluation& evaluation, const ResultatsEvaluation& resultats);

    QString texte(std::string_view zone) const override;
    bool optionSelectionnee(std::string_view option) const override;
    bool caseCochee(std::string_view caseACocher) const override;

private:
    QHash<QString, QString> textes_;
    QHash<QString, bool> etats_; // options and boxes
};

} // namespace pavonis::impression
