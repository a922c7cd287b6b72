#pragma once

#include <pavonis/Objet.h>

#include <string>

namespace pavonis {

// The host's database object: its parameter sections by key.
class PAVONIS_INTERFACE IBaseDonnees : public virtual Objet {
public:
    // The section of that key, to be converted to ISectionParametres. Raises
    // Erreur when the database has no such section.
    virtual ObjetPtr Section(const std::string& cle) = 0;
};

} // namespace pavonis
