#pragma once

#include "../ExportPlateforme.h"
#include "IFabriqueClasse.h"
#include "IdentiteComposant.h"
#include "RegistreComposants.h"

#include <pavonis/Objet.h>

#include <QString>

#include <cstdint>

class QWidget;

namespace pavonis {

// The component runtime: registration of component libraries, creation of
// their controls by programmatic id, and the host's own non-visual classes.
class PAVONIS_PLATEFORME_EXPORT Composants {
public:
    // What a library's registration exports hand over to.
    static std::int32_t enregistrerServeur(const IdentiteComposant& identite, const QString& fichier);
    static std::int32_t desenregistrerServeur(const IdentiteComposant& identite);
    // Hands out `fabrique` when `idClasse` and `iid` are those it serves.
    static std::int32_t objetClasse(const IdentiteComposant& identite, IFabriqueClasse& fabrique,
                                    const char* idClasse, const char* iid, void** objet);

    // Loads a library file and runs its registration (or unregistration)
    // export, into the user's registry or the machine's; returns that
    // export's status (derniereErreur() then says why it failed). Raises
    // Erreur when the file cannot be loaded or lacks the export.
    static std::int32_t appelerEnregistrement(const QString& fichier, bool enregistrer,
                                              RegistreComposants::Portee portee = RegistreComposants::Portee::Utilisateur);
    // Why the last registration or unregistration on this thread failed.
    static QString derniereErreur();
    // Asks a library file whether it can be unloaded (DllCanUnloadNow).
    static std::int32_t peutDecharger(const QString& fichier);

    // Creates the control registered under `progId` inside `conteneur`,
    // returning its interface `iid`. Raises Erreur naming what failed (not
    // registered, library missing, no such interface...).
    static void* creerControle(const QString& progId, const char* iid, QWidget* conteneur);
    template <class Interface>
    static Interface* creerControle(const QString& progId, QWidget* conteneur)
    {
        return static_cast<Interface*>(creerControle(progId, Interface::kIid, conteneur));
    }

    // Non-visual classes that the host program provides in-process (its
    // parameter entries, its date service), created by programmatic id.
    static void enregistrerClasse(const QString& progId, Fabrique fabrique);
    static void revoquerClasse(const QString& progId);
    static ObjetPtr creerObjet(const QString& progId);
};

} // namespace pavonis
