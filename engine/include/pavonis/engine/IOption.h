#pragma once

namespace pavonis {

// An option button of an evaluation row, as the engine sees it.
class IOption {
public:
    virtual ~IOption() = default;
    virtual bool valeur() const = 0; // selected?
};

} // namespace pavonis
