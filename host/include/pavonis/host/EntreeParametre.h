#pragma once

#include <pavonis/host/TableValeurs.h>

#include <pavonis/hostapi/IEntreeParametre.h>

#include <memory>
#include <string>

namespace pavonis {

// The stand-alone host's parameter entry: a text and a table, copied by value
// on assignment. The content is immutable and shared between copies, so a
// copy costs one reference count.
class EntreeParametre final : public IEntreeParametre {
public:
    // A fresh, empty entry: what the host library's class creates.
    EntreeParametre();
    // `origine` names the entry in messages: `l'entrée "C" de la section "AGGIRPARAM"`.
    EntreeParametre(std::string origine, std::string texte, TableValeurs table);

    static std::shared_ptr<IEntreeParametre> creer() { return std::make_shared<EntreeParametre>(); }

    std::string Texte(std::int16_t debut, std::int16_t ligne, std::int16_t colonne) override;
    double Valeur(std::int16_t ligne, std::int16_t colonne) override;
    void DefinirValeur(const std::shared_ptr<IEntreeParametre>& source) override;

private:
    struct Contenu {
        std::string origine;
        std::string texte;
        TableValeurs table;
    };
    std::shared_ptr<const Contenu> contenu_;
};

} // namespace pavonis
