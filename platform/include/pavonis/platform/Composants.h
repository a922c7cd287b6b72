#pragma once

#include <pavonis/hostapi/Visibilite.h>
#include <pavonis/platform/IFabriqueClasse.h>
#include <pavonis/platform/IdentiteComposant.h>
#include <pavonis/platform/RegistreComposants.h>

#include <pavonis/hostapi/Objet.h>

#include <QString>

#include <cstdint>

class QWidget;

namespace pavonis {

/// L'environnement de composants : enregistrement des bibliothèques de
/// composants, création de leurs contrôles par identifiant programmatique,
/// et classes non visuelles de l'hôte lui-même.
class PAVONIS_API Composants {
public:
    /// Ce à quoi l'exportation d'enregistrement d'une bibliothèque confie son
    /// identité et son fichier ; rend un statut.
    static std::int32_t enregistrerServeur(const IdentiteComposant& identite, const QString& fichier);
    /// Ce à quoi son exportation de désenregistrement confie son identité.
    static std::int32_t desenregistrerServeur(const IdentiteComposant& identite);
    /// Remet `fabrique` dans `objet` quand `idClasse` et `iid` sont ceux
    /// qu'elle sert ; rend un statut.
    static std::int32_t objetClasse(const IdentiteComposant& identite, IFabriqueClasse& fabrique,
                                    const char* idClasse, const char* iid, void** objet);

    /// Charge une bibliothèque et lance son exportation d'enregistrement (ou
    /// de désenregistrement), dans le registre de l'utilisateur ou celui de la
    /// machine ; rend le statut de l'exportation (derniereErreur() dit alors
    /// pourquoi elle a échoué). Lève Erreur quand le fichier ne se charge pas
    /// ou n'a pas l'exportation.
    static std::int32_t
    appelerEnregistrement(const QString& fichier, bool enregistrer,
                          RegistreComposants::Portee portee = RegistreComposants::Portee::Utilisateur);
    /// Pourquoi le dernier enregistrement ou désenregistrement de ce fil a
    /// échoué.
    static QString derniereErreur();
    /// Demande à une bibliothèque si elle peut être déchargée (DllCanUnloadNow).
    static std::int32_t peutDecharger(const QString& fichier);

    /// Crée dans `conteneur` le contrôle enregistré sous `progId` et rend son
    /// interface `iid`. Lève Erreur qui nomme ce qui a échoué (non enregistré,
    /// bibliothèque absente, interface inconnue…).
    static void* creerControle(const QString& progId, const char* iid, QWidget* conteneur);
    /// La même création, rendant l'interface `Interface` (son `kIid`).
    template <class Interface> static Interface* creerControle(const QString& progId, QWidget* conteneur)
    {
        return static_cast<Interface*>(creerControle(progId, Interface::kIid, conteneur));
    }

    /// Enregistre une classe non visuelle que le programme hôte fournit
    /// lui-même (ses entrées de paramètres, son service de dates), créée
    /// ensuite par son identifiant programmatique.
    static void enregistrerClasse(const QString& progId, Fabrique fabrique);
    /// Retire une classe enregistrée par enregistrerClasse.
    static void revoquerClasse(const QString& progId);
    /// Crée une instance d'une classe enregistrée ; lève Erreur si aucune ne
    /// l'est sous cet identifiant.
    static ObjetPtr creerObjet(const QString& progId);
};

} // namespace pavonis
