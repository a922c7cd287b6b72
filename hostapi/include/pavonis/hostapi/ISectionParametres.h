#pragma once

#include <pavonis/hostapi/Objet.h>

#include <string>

namespace pavonis {

/// Une section de paramètres de la base de l'hôte : ses entrées, par clé.
class PAVONIS_API ISectionParametres : public virtual Objet {
public:
    /// L'entrée de cette clé, à convertir en IEntreeParametre. Lève Erreur
    /// quand la section n'a pas cette entrée.
    virtual ObjetPtr Section(const std::string& cle) = 0;
};

} // namespace pavonis
