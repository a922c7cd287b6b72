#pragma once

#include <pavonis/hostapi/Objet.h>

namespace pavonis {

/// Un droit de l'utilisateur, tel que la bibliothèque de droits de l'hôte le
/// donne.
class PAVONIS_API IDroitEntree : public virtual Objet {
public:
    /// Vrai quand l'utilisateur a ce droit.
    virtual bool Autorise() = 0;
};

} // namespace pavonis
