#pragma once

#include <pavonis/Objet.h>

namespace pavonis {

// One right of the user, as the host's rights library answers it.
class PAVONIS_INTERFACE IDroitEntree : public virtual Objet {
public:
    virtual bool Autorise() = 0;
};

} // namespace pavonis
