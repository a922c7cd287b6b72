#pragma once

#include <LigneEvaluation.h>

#include <QString>
#include <QWidget>

#include <string_view>

class QCheckBox;
class QLineEdit;
class QRadioButton;

// A stand-in for the evaluation screen: every control the report reads,
// named and typed as on the real screen, made from the engine's table. All
// rows start on "Fait" with note "A".
class EcranEssai : public QWidget {
public:
    EcranEssai();

    QRadioButton& fait(std::string_view cle) const;
    QRadioButton& faitPas(std::string_view cle) const;
    QCheckBox& adverbe(std::string_view cle, pavonis::Adverbe a) const;
    QLineEdit& zone(std::string_view nom) const;

    // Answers a row: "Fait", or "Ne fait pas" with the adverbs not met
    // ("", "TH", "STCH"...), and writes the row note.
    void repondre(std::string_view cle, bool neFaitPas, const QString& adverbes, const QString& note);
    void noteVariable(int numero, const QString& note);

private:
    template <typename W> W& controle(std::string_view nom) const;
};
