#pragma once

#include <pavonis/control/Uc_Pavonis.h>

#include <QString>
#include <QTemporaryDir>
#include <QWidget>

#include <memory>

namespace pavonis {
class MagasinParametres;
class BaseDonneesAutonome;
} // namespace pavonis

namespace pavonis::essai {

// A host for the control's tests: a parameter store of its own (seeded,
// installation directory inside a temporary folder that holds the help
// pages), the host classes registered in the runtime, and a host window.
class HoteEssai {
public:
    HoteEssai();
    ~HoteEssai();

    // A new control in a new host window, given the host's objects.
    Uc_Pavonis* creerControle();
    QWidget& fenetre() { return *fenetre_; }

    std::shared_ptr<MagasinParametres> magasin;
    std::shared_ptr<BaseDonneesAutonome> base;
    QString repertoireAide; // where CheminAide points

private:
    QTemporaryDir dossier_;
    std::unique_ptr<QWidget> fenetre_;
};

// The child control of that name, or a failed test.
QWidget* enfant(QWidget& controle, const char* nom);
QString texte(QWidget& controle, const char* nom);
// The caption of a label, a frame or a button.
QString legende(const QWidget* w);
// A click (or a double-click) through the window at the centre of the
// control, as a user's: it lands on whatever is there.
void cliquer(QWidget& controle, const char* nom, bool double_ = false);
// The mouse through the window over a name, or over a frame where none of
// its own controls is.
void survoler(QWidget& controle, const char* nom);
// Shows the host window, exposed and active.
bool montrer(QWidget& fenetre);
// Types `texte` key by key, accents included.
void taper(QWidget* w, const QString& texte);

} // namespace pavonis::essai
