#pragma once

#include <pavonis/Objet.h>

#include <string>

namespace pavonis {

// The host's client object: the person being evaluated. The control keeps
// it for the host and reads nothing from it.
class PAVONIS_INTERFACE IClient : public virtual Objet {
public:
    virtual std::string Code() = 0;
    virtual std::string NomPrenom() = 0;
};

} // namespace pavonis
