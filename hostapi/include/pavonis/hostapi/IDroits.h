#pragma once

#include <pavonis/hostapi/Objet.h>

#include <string>

namespace pavonis {

/// L'objet des droits de l'utilisateur, fourni par l'hôte.
class PAVONIS_API IDroits : public virtual Objet {
public:
    /// Le droit de cette clé, à convertir en IDroitEntree. Lève Erreur quand
    /// la clé est inconnue.
    virtual ObjetPtr Droit(const std::string& cle) = 0;
};

} // namespace pavonis
