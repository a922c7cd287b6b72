#pragma once

#include <pavonis/Objet.h>

#include <string>

namespace pavonis {

// A parameter section of the host's database: its entries by key.
class PAVONIS_INTERFACE ISectionParametres : public virtual Objet {
public:
    // The entry of that key, to be converted to IEntreeParametre. Raises
    // Erreur when the section has no such entry.
    virtual ObjetPtr Section(const std::string& cle) = 0;
};

} // namespace pavonis
