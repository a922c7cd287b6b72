#pragma once

#include <pavonis/hostapi/Objet.h>

#include <string>

namespace pavonis {

/// L'objet client de l'hôte : la personne évaluée. Le contrôle le garde pour
/// l'hôte et n'y lit rien.
class PAVONIS_API IClient : public virtual Objet {
public:
    /// Le code du dossier de la personne.
    virtual std::string Code() = 0;
    /// Son nom et son prénom.
    virtual std::string NomPrenom() = 0;
};

} // namespace pavonis
