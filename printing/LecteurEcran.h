#pragma once

#include <pavonis/presentation/DonneesRapport.h>

#include <QHash>
#include <QString>

#include <string_view>

class QWidget;

namespace pavonis::impression {

// Reads the evaluation screen for the report: the controls are found by
// name among the descendants of the control widget. Option buttons are
// QRadioButton, adverb boxes QCheckBox, text boxes QLineEdit. A control that
// is missing or of another kind is a pavonis::Erreur naming it.
class LecteurEcran final : public DonneesRapport {
public:
    explicit LecteurEcran(const QWidget& controle);

    std::string texte(std::string_view zone) const override;
    bool optionSelectionnee(std::string_view option) const override;
    bool caseCochee(std::string_view caseACocher) const override;

private:
    QWidget* controle(std::string_view nom) const;

    QHash<QString, QWidget*> controles_;
};

} // namespace pavonis::impression
