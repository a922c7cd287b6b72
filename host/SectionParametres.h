#pragma once

#include <pavonis/hostapi/ISectionParametres.h>

#include <memory>
#include <string>

namespace pavonis {

class MagasinParametres;

// A parameter section of the stand-alone store. Entries are read from the
// file when they are asked for.
class SectionParametres final : public ISectionParametres {
public:
    SectionParametres(std::shared_ptr<MagasinParametres> magasin, std::string nom);

    // Raises Erreur (ParametreAbsent) when the section has no such entry.
    ObjetPtr Section(const std::string& cle) override;

    const std::string& nom() const { return nom_; }

private:
    std::shared_ptr<MagasinParametres> magasin_;
    std::string nom_;
};

} // namespace pavonis
