#pragma once

#include <QHash>
#include <QString>

#include <string_view>

class QCheckBox;
class QLineEdit;
class QRadioButton;
class QWidget;

namespace pavonis::impression {

// Reads the evaluation screen for the report: the controls are found by
// name among the descendants of the control widget. Option buttons are
// QRadioButton, adverb boxes QCheckBox, text boxes QLineEdit. A control that
// is missing or of another kind is a pavonis::Erreur naming it.
class LecteurEcran {
public:
    explicit LecteurEcran(const QWidget& controle);

    const QRadioButton& option(std::string_view nom) const;
    const QCheckBox& caseACocher(std::string_view nom) const;
    const QLineEdit& zoneTexte(std::string_view nom) const;
    QString texte(std::string_view nom) const;

private:
    QWidget* controle(std::string_view nom) const;

    QHash<QString, QWidget*> controles_;
};

} // namespace pavonis::impression
