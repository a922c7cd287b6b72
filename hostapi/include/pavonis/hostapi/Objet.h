#pragma once

#include <pavonis/hostapi/Erreur.h>
#include <pavonis/hostapi/Visibilite.h>

#include <functional>
#include <memory>
#include <string>

namespace pavonis {

/// Racine de tout objet qui franchit une interface de composant. Les objets
/// sont tenus par références comptées (shared_ptr) : en garder un ajoute une
/// référence, celui qu'il remplace est relâché.
class PAVONIS_API Objet {
public:
    /// Détruit l'objet quand sa dernière référence est relâchée.
    virtual ~Objet() = default;
};

/// Une référence comptée à un objet.
using ObjetPtr = std::shared_ptr<Objet>;

/// Crée une instance neuve d'une classe de l'hôte (une entrée de paramètres,
/// un service de dates).
using Fabrique = std::function<ObjetPtr()>;

/// Conversion d'un objet vers une de ses interfaces ; comme une demande
/// d'interface, elle peut échouer (Erreur), et l'échec nomme `quoi`, l'objet
/// qu'on convertissait.
template <class Interface>
std::shared_ptr<Interface> convertir(const ObjetPtr& objet, const std::string& quoi)
{
    if (!objet)
        throw Erreur(Erreur::Code::ObjetAbsent, quoi + " : aucun objet.");
    auto resultat = std::dynamic_pointer_cast<Interface>(objet);
    if (!resultat)
        throw Erreur(Erreur::Code::InterfaceAbsente, quoi + " : l'objet n'offre pas l'interface attendue.");
    return resultat;
}

} // namespace pavonis
