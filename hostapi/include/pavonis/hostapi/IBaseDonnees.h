#pragma once

#include <pavonis/hostapi/Objet.h>

#include <string>

namespace pavonis {

/// L'objet base de données de l'hôte : ses sections de paramètres, par clé.
class PAVONIS_API IBaseDonnees : public virtual Objet {
public:
    /// La section de cette clé, à convertir en ISectionParametres. Lève
    /// Erreur quand la base n'a pas cette section.
    virtual ObjetPtr Section(const std::string& cle) = 0;
};

} // namespace pavonis
