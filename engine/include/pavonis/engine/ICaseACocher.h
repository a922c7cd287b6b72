#pragma once

namespace pavonis {

// An adverb check box, as the engine sees it. Value 1 is ticked; any other
// value counts as not ticked. Setting the value may raise the box's click,
// which runs the row rule again, nested: the rule is idempotent.
class ICaseACocher {
public:
    virtual ~ICaseACocher() = default;
    virtual int valeur() const = 0;
    virtual void definirValeur(int valeur) = 0;
    virtual void definirActive(bool active) = 0;
};

} // namespace pavonis
