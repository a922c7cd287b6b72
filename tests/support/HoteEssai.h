#pragma once

#include <pavonis/control/Uc_Pavonis.h>
#include <pavonis/host/BaseDonneesAutonome.h>
#include <pavonis/host/MagasinParametres.h>

#include <QtTest>
#include <QtWidgets>

namespace pavonis::essai {

// A host for the control's tests: its own seeded parameter store (installation directory in a temporary
// folder with the help pages), the host classes registered, a host window; the real screen height after.
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
// A click (or a double-click) through the window at the centre of the control: it lands on what is there.
void cliquer(QWidget& controle, const char* nom, bool double_ = false);
// The mouse through the window over a name, or over a frame where none of its own controls is.
void survoler(QWidget& controle, const char* nom);
// Shows the host window, exposed and active.
bool montrer(QWidget& fenetre);
// Types `texte` key by key, accents included.
void taper(QWidget* w, const QString& texte);

// The fixture of the control's tests: before each test a new host and its control, hidden, before Init.
class EssaiControle : public QObject {
    Q_OBJECT

protected:
    std::unique_ptr<HoteEssai> hote_;
    Uc_Pavonis* c_ = nullptr;

    bool demarrer(); // shows the host window (false if it does not show), then runs Init
    static QString focus() { return QApplication::focusWidget()->objectName(); }

protected slots:
    void init() { c_ = (hote_ = std::make_unique<HoteEssai>())->creerControle(); }
    void cleanup() { hote_.reset(); }
};

} // namespace pavonis::essai
