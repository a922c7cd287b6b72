#pragma once

#include <pavonis/Objet.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace pavonis {

// A parameter entry of the host's database: a text and a table of numbers.
// Every member raises Erreur on failure.
class PAVONIS_INTERFACE IEntreeParametre : public virtual Objet {
public:
    // The entry's text; the three arguments select the whole text when they
    // are (1, -1, -1), the only form the control uses.
    virtual std::string Texte(std::int16_t debut, std::int16_t ligne, std::int16_t colonne) = 0;

    // Default member, read: one cell of the entry's table (rows and columns
    // count from 1).
    virtual double Valeur(std::int16_t ligne, std::int16_t colonne) = 0;

    // Default member, write: this entry takes the value of another entry, as
    // a copy; later changes to either do not reach the other. An entry of
    // another host library cannot be copied: that raises Erreur.
    virtual void DefinirValeur(const std::shared_ptr<IEntreeParametre>& source) = 0;
};

// Creates a fresh, empty entry of the host library's entry class.
using FabriqueEntree = std::function<std::shared_ptr<IEntreeParametre>()>;

} // namespace pavonis
