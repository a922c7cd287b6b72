#pragma once

#include <pavonis/Objet.h>

#include <cstdint>
#include <string>

namespace pavonis {

// The host's date-checking service.
class PAVONIS_INTERFACE IServiceDate : public virtual Objet {
public:
    // Normalises a date as typed; `format` 0 asks for "jj/mm/aaaa". Sets
    // SaisieARevoir. Returns the text to put back in the box.
    virtual std::string NormaliserDate(std::string& texte, std::int16_t& format) = 0;
    // True when the last normalised entry was incomplete and the user should
    // look at it again.
    virtual bool SaisieARevoir() = 0;
    // Checks the date held by a text box: empty text when it is accepted,
    // otherwise why it is refused.
    virtual std::string ControlerDate(const ObjetPtr& zone) = 0;
};

} // namespace pavonis
