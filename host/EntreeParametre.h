#pragma once

#include "TableValeurs.h"

#include <pavonis/IEntreeParametre.h>

#include <memory>
#include <string>

namespace pavonis {

// The stand-alone host's parameter entry: a text and a table, copied by value
// on assignment (the table itself is shared while neither side changes it,
// which they never do).
class EntreeParametre final : public IEntreeParametre {
public:
    // A fresh, empty entry: what the host library's class creates.
    EntreeParametre() = default;
    EntreeParametre(std::string origine, std::string texte, TableValeurs table);

    static ObjetPtr creer() { return std::make_shared<EntreeParametre>(); }

    std::string Texte(std::int16_t debut, std::int16_t ligne, std::int16_t colonne) override;
    double Valeur(std::int16_t ligne, std::int16_t colonne) override;
    void DefinirValeur(const ObjetPtr& source) override;

    const TableValeurs& table() const { return *table_; }

private:
    // Where the value comes from, for messages: `l'entrée "C" de la section "AGGIRPARAM"`.
    std::string origine_ = "la table de travail (vide)";
    std::string texte_;
    std::shared_ptr<const TableValeurs> table_ = std::make_shared<const TableValeurs>();
};

} // namespace pavonis
