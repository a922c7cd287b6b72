#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace pavonis {

// One action of a scenario, as read from its line.
struct ActionScenario {
    enum class Genre {
        Cliquer,
        DoubleCliquer,
        Cocher,
        Decocher,
        Effacer,
        Saisir,
        Quitter,
        Touche,
        Survoler,
        Defiler,
        Pas,
        Choisir,
        Fermer,
    };
    int ligne = 0; // in the file, from 1
    Genre genre = Genre::Fermer;
    QString nom;    // the control addressed; for "pas", "bas" or "haut"
    QString texte;  // what "saisir" types, the key of "touche", the entry of "choisir"
    int nombre = 0; // the value of "defiler", the count of "pas"
};

// Reads a scenario file: one action per line, "#" starts a comment, blank
// lines are skipped. The whole file is read and checked before anything is
// replayed; the first bad line raises Erreur (Saisie) naming it.
class LecteurScenario {
public:
    static constexpr qint64 kTailleMax = 1 << 20; // a scenario is a few lines
    static constexpr int kPasMax = 1000;
    static constexpr int kDefilementMax = 32767;

    static QList<ActionScenario> lireFichier(const QString& chemin);
    // `contenu`: the file's bytes; `nom`: how messages name the file.
    static QList<ActionScenario> lire(const QByteArray& contenu, const QString& nom);
};

} // namespace pavonis
