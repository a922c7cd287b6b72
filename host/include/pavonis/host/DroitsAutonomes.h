#pragma once

#include <pavonis/hostapi/IDroitEntree.h>
#include <pavonis/hostapi/IDroits.h>

#include <map>
#include <string>

namespace pavonis {

// The stand-alone host's user rights: a fixed table of keys.
class DroitsAutonomes final : public IDroits {
public:
    // By default the user may read the AGGIR help ("DOSAIDEAGGIR").
    DroitsAutonomes();
    explicit DroitsAutonomes(std::map<std::string, bool> droits) : droits_(std::move(droits)) {}

    // Raises Erreur (ParametreAbsent) for a key the table does not hold.
    ObjetPtr Droit(const std::string& cle) override;

private:
    std::map<std::string, bool> droits_;
};

} // namespace pavonis
