#pragma once

#include <pavonis/Objet.h>

#include <string>

namespace pavonis {

// A text box of the control handed to a host service (the date box given to
// the date service to be checked).
class PAVONIS_INTERFACE IControleTexte : public virtual Objet {
public:
    virtual std::string Text() = 0;
};

} // namespace pavonis
