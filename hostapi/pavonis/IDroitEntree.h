#pragma once

#include <pavonis/Objet.h>

namespace pavonis {

/// Un droit de l'utilisateur, tel que la bibliothèque de droits de l'hôte le
/// donne.
class PAVONIS_INTERFACE IDroitEntree : public virtual Objet {
public:
    /// Vrai quand l'utilisateur a ce droit.
    virtual bool Autorise() = 0;
};

} // namespace pavonis
