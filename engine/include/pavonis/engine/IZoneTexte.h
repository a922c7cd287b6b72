#pragma once

#include <string>
#include <string_view>

namespace pavonis {

// A text box the engine reads or writes: a row note, a composite note, the
// GIR and its sub-group. Texts are UTF-8 and compared exactly.
class IZoneTexte {
public:
    virtual ~IZoneTexte() = default;
    virtual std::string texte() const = 0;
    virtual void definirTexte(std::string_view texte) = 0;
};

} // namespace pavonis
