#pragma once

#include <pavonis/hote/LecteurScenario.h>

#include <pavonis/hostapi/Erreur.h>

#include <QEventLoop>
#include <QObject>
#include <QPointer>
#include <QString>

#include <optional>

class QWidget;

namespace pavonis {

// Replays user actions on the control (LecteurScenario reads them), as a
// user would: clicks and mouse moves go through the window, at the point a
// user would aim at, and land on whatever is there; keys go to the widget
// that has the focus.
//
// The lines run one after the other from the event loop, so that what an
// action queues runs before the next one, and so that a modal dialog opened
// by an action (the print dialog) is worked by the lines that follow, whose
// names are then looked for in that dialog first.
class Scenario : public QObject {
    Q_OBJECT
public:
    Scenario(QWidget& fenetre, QWidget& controle);
    ~Scenario() override;

    // Raises Erreur (Saisie) naming the file and line of the first bad line.
    void rejouer(const QString& chemin);

    // Makes a window the active one, as a user's click or the window
    // manager does; raises Erreur when it does not become active.
    static void activer(QWidget& fenetre);

protected:
    bool eventFilter(QObject* objet, QEvent* event) override;

private:
    void suivante();
    void executer(const ActionScenario& action);
    QWidget& trouver(const QString& nom) const;
    // Where a user aims at `w`, in its window; raises Erreur when another
    // control would receive the click, or the point is outside the window.
    QPoint viser(QWidget& w, QPoint dansLeControle) const;
    void cliquer(QWidget& w, bool double_);
    void donnerFocus(QWidget& w);
    void taper(QWidget& w, const QString& texte);
    void terminer();

    QPointer<QWidget> fenetre_;
    QPointer<QWidget> controle_;
    QString chemin_;
    QList<ActionScenario> actions_;
    qsizetype index_ = 0;
    bool reprisDansUnDialogue_ = false;
    std::optional<Erreur> erreur_;
    QEventLoop boucle_;
};

} // namespace pavonis
