#pragma once

#include <pavonis/hostapi/Objet.h>

#include <string>

namespace pavonis {

/// Une zone de texte du contrôle confiée à un service de l'hôte (la zone de
/// date, donnée au service de dates pour qu'il la contrôle).
class PAVONIS_API IControleTexte : public virtual Objet {
public:
    /// Le texte de la zone.
    virtual std::string Text() = 0;
};

} // namespace pavonis
