#pragma once

#include <pavonis/Erreur.h>

#include <QEventLoop>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <optional>

class QWidget;

namespace pavonis {

// Replays user actions on the control, one per line, each addressing a
// control by name:
//   cliquer NOM | cocher NOM | decocher NOM | effacer NOM | saisir NOM TEXTE
//   quitter NOM | touche NOM TOUCHE | survoler NOM | choisir NOM TEXTE
//   defiler VALEUR | pas bas|haut [N] | fermer
// Blank lines and lines starting with "#" are skipped.
//
// The lines run one after the other from the event loop, so that what an
// action queues (the check of a date left) runs before the next one, and so
// that a modal dialog opened by an action (the print dialog) is worked by
// the lines that follow, whose names are then looked for in that dialog
// first.
class Scenario : public QObject {
    Q_OBJECT
public:
    Scenario(QWidget& fenetre, QWidget& controle);
    ~Scenario() override;

    // Raises Erreur (Saisie) naming the line of the first bad action.
    void rejouer(const QString& chemin);

protected:
    bool eventFilter(QObject* objet, QEvent* event) override;

private:
    void suivante();
    void executer(const QString& ligne);
    QWidget& trouver(const QString& nom) const;
    void terminer();

    QPointer<QWidget> fenetre_;
    QPointer<QWidget> controle_;
    QString chemin_;
    QStringList lignes_;
    int index_ = 0;
    bool reprisDansUnDialogue_ = false;
    std::optional<Erreur> erreur_;
    QEventLoop boucle_;
};

} // namespace pavonis
