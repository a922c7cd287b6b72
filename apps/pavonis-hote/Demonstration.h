#pragma once

#include "FenetreDemo.h"
#include "HoteAutonome.h"

#include <QJsonArray>
#include <QPointer>
#include <QString>

#include <memory>

class QMainWindow;
class QMdiArea;

namespace pavonis {

class IEvaluationPavonis;
class IUc_Pavonis;

// What the demo host is asked to do, from its command line.
struct OptionsDemonstration {
    QString parametres, scenario, etat, capture, pdf, charger, evaluation, fhir;
    int hauteurEcran = 0;
    bool mdi = false;

    // A replay runs without a user: asking for a state, a capture, a PDF or
    // the evaluation is one too, of no action when no scenario is given.
    bool rejeu() const
    {
        return !scenario.isEmpty() || !etat.isEmpty() || !capture.isEmpty() || !pdf.isEmpty() ||
               !evaluation.isEmpty() || !fhir.isEmpty();
    }
};

// The demo host at work: its window (or an application's sub-window) with
// the control, created through the component runtime on the stand-alone
// host objects; then the user, or a replayed scenario and what it writes.
// Every step raises Erreur with a French message when it fails.
class Demonstration {
public:
    // The window shown, the control created and given the host's objects,
    // Init called (a failure of Init is reported as the control reports
    // its own).
    explicit Demonstration(const OptionsDemonstration& options);
    ~Demonstration();

    // Restores an evaluation kept by the host onto the screen; results
    // written in it that differ from the screen's are warned of.
    void charger(const QString& chemin);

    // The user works until the window closes.
    int travailler();
    // Replays the scenario, if any; raises Erreur when it stops.
    void rejouer();
    // Writes the state, the evaluation, FHIR, the PDF and the capture asked
    // for; the exit status (0, or 1 when one could not be written).
    int ecrireSorties();
    // Closes the host window as its close box would.
    void fermer();

    bool sortieParRetour() const { return sortieParRetour_; }

private:
    bool ouverte() const;
    QJsonObject etat() const;
    void ecrire(const QString& chemin, const QByteArray& contenu) const;
    IEvaluationPavonis& extension() const;

    const OptionsDemonstration options_;
    QPointer<FenetreDemo> fenetre_;
    std::unique_ptr<QMainWindow> application_;
    QMdiArea* zone_ = nullptr;
    QPointer<QWidget> fenetreHote_;
    std::unique_ptr<HoteAutonome> hote_;
    IUc_Pavonis* controle_ = nullptr;
    bool sortieParRetour_ = false;
    bool fermee_ = false;
    QJsonArray messages_, erreurs_, avertissements_;
};

} // namespace pavonis
