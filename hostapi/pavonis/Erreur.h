#pragma once

#include <pavonis/Visibilite.h>

#include <stdexcept>
#include <string>

namespace pavonis {

// A failure status, raised at once. Every call through a component interface
// (host object, platform service, parameter store) reports failure this way;
// the message is French because it ends up in front of a user or a host
// developer, and names what is wrong.
class PAVONIS_INTERFACE Erreur : public std::runtime_error {
public:
    enum class Code {
        EchecHote,         // the host object answered with a failure
        InterfaceAbsente,  // an object does not offer the interface asked for
        ObjetAbsent,       // no object where one is required
        ParametreAbsent,   // missing section, entry or table cell
        ParametreInvalide, // a parameter of the wrong shape or kind
        Depassement,       // arithmetic overflow
        Stockage,          // the parameter file cannot be read or written
        Plateforme,        // a platform service failed (window, printer...)
        Saisie,            // malformed input
    };

    Erreur(Code code, const std::string& message) : std::runtime_error(message), code_(code) {}

    Code code() const noexcept { return code_; }

private:
    Code code_;
};

} // namespace pavonis
