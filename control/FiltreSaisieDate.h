#pragma once

#include <QValidator>

class QLineEdit;

namespace pavonis {

// What reaches the date box other than a typed key -- a paste, a drop, an
// input-method commit -- goes through the key filter's rule as well: each
// inserted character other than a digit or "/" becomes "/" (a character
// outside the Basic Multilingual Plane counts as one). The text that was
// already there is left alone, and so is text the control writes itself
// (`ecrire`), such as today's date or the date service's normal form.
class FiltreSaisieDate final : public QValidator {
    Q_OBJECT
public:
    explicit FiltreSaisieDate(QLineEdit& zone);

    // Writes the box's text as the program, not through the filter.
    void ecrire(const QString& texte);

    State validate(QString& texte, int& position) const override;

    // The rule on inserted text.
    static QString filtrer(QStringView insere);

private:
    QLineEdit& zone_;
    QString precedent_; // the text before the change being validated
    bool actif_ = true;
};

} // namespace pavonis
