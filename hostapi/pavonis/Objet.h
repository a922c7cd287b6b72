#pragma once

#include <pavonis/Erreur.h>
#include <pavonis/Visibilite.h>

#include <functional>
#include <memory>
#include <string>

namespace pavonis {

// Root of every object that crosses a component interface. Objects are held
// by counted references (shared_ptr); storing one adds a reference and the
// one it replaces is released.
class PAVONIS_INTERFACE Objet {
public:
    virtual ~Objet() = default;
};

using ObjetPtr = std::shared_ptr<Objet>;

// Creates a fresh instance of a host class (a parameter entry, a date service).
using Fabrique = std::function<ObjetPtr()>;

// Conversion of an object to one of its interfaces; like a QueryInterface it
// can fail, and the failure names the object that was being converted.
template <class Interface>
std::shared_ptr<Interface> convertir(const ObjetPtr& objet, const std::string& quoi)
{
    if (!objet)
        throw Erreur(Erreur::Code::ObjetAbsent, quoi + " : aucun objet.");
    auto resultat = std::dynamic_pointer_cast<Interface>(objet);
    if (!resultat)
        throw Erreur(Erreur::Code::InterfaceAbsente,
                     quoi + " : l'objet n'offre pas l'interface attendue.");
    return resultat;
}

} // namespace pavonis
