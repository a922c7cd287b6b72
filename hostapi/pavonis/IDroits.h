#pragma once

#include <pavonis/Objet.h>

#include <string>

namespace pavonis {

// The host's user-rights object.
class PAVONIS_INTERFACE IDroits : public virtual Objet {
public:
    // The right of that key, to be converted to IDroitEntree. Raises Erreur
    // when the key is unknown.
    virtual ObjetPtr Droit(const std::string& cle) = 0;
};

} // namespace pavonis
