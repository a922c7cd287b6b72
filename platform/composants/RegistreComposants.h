#pragma once

#include "../ExportPlateforme.h"
#include "IdentiteComposant.h"

#include <QJsonObject>
#include <QString>

#include <optional>

namespace pavonis {

// The per-user registry of components: a JSON file holding, like the
// system registry of a component platform, the type libraries, classes,
// programmatic ids and interfaces of the registered libraries.
//
// File: $PAVONIS_REGISTRE, or $XDG_CONFIG_HOME/pavonis/registre-composants.json
// (~/.config/pavonis/... when XDG_CONFIG_HOME is unset).
class PAVONIS_PLATEFORME_EXPORT RegistreComposants {
public:
    static QString chemin();

    // The whole registry (empty when there is no file yet). Raises Erreur for
    // a file that is not a registry.
    static QJsonObject lire();

    // Writes the keys of one library and its class; raises Erreur on failure.
    static void enregistrer(const IdentiteComposant& identite, const QString& fichierBibliotheque);
    // Removes exactly the keys `enregistrer` wrote for that identity.
    static void desenregistrer(const IdentiteComposant& identite);

    struct Classe {
        QString idClasse;
        QString fichier;
    };
    // The class registered under a programmatic id, if any.
    static std::optional<Classe> classe(const QString& progId);

private:
    static void ecrire(const QJsonObject& registre);
};

} // namespace pavonis
