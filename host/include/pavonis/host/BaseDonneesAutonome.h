#pragma once

#include <pavonis/hostapi/IBaseDonnees.h>

#include <memory>

namespace pavonis {

class MagasinParametres;

// The stand-alone host's database object, over an SQLite parameter store.
class BaseDonneesAutonome final : public IBaseDonnees {
public:
    explicit BaseDonneesAutonome(std::shared_ptr<MagasinParametres> magasin);

    // Raises Erreur (ParametreAbsent) when the store has no such section.
    ObjetPtr Section(const std::string& cle) override;

    const std::shared_ptr<MagasinParametres>& magasin() const { return magasin_; }

private:
    std::shared_ptr<MagasinParametres> magasin_;
};

} // namespace pavonis
