#pragma once

#include <pavonis/hostapi/Visibilite.h>
#include <pavonis/platform/IdentiteComposant.h>

#include <QJsonObject>
#include <QString>

#include <functional>
#include <optional>

namespace pavonis {

// The registry of components: JSON files holding, like the system registry
// of a component platform, the type libraries, classes, programmatic ids
// and interfaces of the registered libraries. Two of them: the user's own,
// and beneath it the machine's, written once by an installer for every user;
// an entry of the user's wins over the machine's for the same class.
//
// User file: $PAVONIS_REGISTRE, or $XDG_CONFIG_HOME/pavonis/registre-composants.json
// (~/.config/pavonis/... when XDG_CONFIG_HOME is unset).
// Machine file: $PAVONIS_REGISTRE_MACHINE, or /etc/pavonis/registre-composants.json.
//
// Class ids and programmatic ids compare without regard to case. Changes
// are made under a lock, so that programs registering at the same time all
// keep their entries. A file that is not a registry -- unreadable, not JSON,
// or with a value of the wrong kind where the runtime reads one -- is an
// error naming the file, and is never rewritten.
class PAVONIS_API RegistreComposants {
public:
    enum class Portee { Utilisateur, Machine };

    static QString chemin(Portee portee = Portee::Utilisateur);

    // The whole registry (empty when there is no file yet). Raises Erreur for
    // a file that is not a registry.
    static QJsonObject lire(Portee portee = Portee::Utilisateur);

    // Writes the keys of one library and its class; raises Erreur on failure.
    static void enregistrer(const IdentiteComposant& identite, const QString& fichierBibliotheque,
                            Portee portee = Portee::Utilisateur);
    // Removes exactly the keys `enregistrer` wrote for that identity; a
    // registry that does not exist stays so.
    static void desenregistrer(const IdentiteComposant& identite, Portee portee = Portee::Utilisateur);

    struct Classe {
        QString idClasse;
        QString fichier;
        Portee portee;
    };
    // The class registered under a programmatic id: the user's entry, or
    // else the machine's.
    static std::optional<Classe> classe(const QString& progId);

private:
    // Reads, changes and writes the registry under its lock; nothing is
    // written when the change leaves it as it was.
    static void modifier(Portee portee, const std::function<void(QJsonObject&)>& changement);
    static void ecrire(const QString& fichier, const QJsonObject& registre);
};

} // namespace pavonis
