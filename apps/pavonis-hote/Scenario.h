#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace pavonis {

// Replays user actions on the control, one per line, each addressing a
// control by name:
//   cliquer NOM | cocher NOM | decocher NOM | effacer NOM | saisir NOM TEXTE
//   quitter NOM
//   touche NOM TOUCHE | survoler NOM | defiler VALEUR | pas bas|haut [N]
//   fermer
// Blank lines and lines starting with "#" are skipped.
class Scenario {
public:
    explicit Scenario(QWidget& fenetre, QWidget& controle);

    // Raises Erreur (Saisie) naming the line of the first bad action.
    void rejouer(const QString& chemin);
    void executer(const QString& ligne);

private:
    QWidget& trouver(const QString& nom) const;

    QWidget& fenetre_;
    QWidget& controle_;
};

} // namespace pavonis
