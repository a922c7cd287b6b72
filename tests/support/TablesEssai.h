#pragma once

#include <pavonis/engine/TablesGroupes.h>

#include <pavonis/hostapi/Objet.h>

#include <array>
#include <memory>

namespace pavonis::essai {

// Weights of one group: rows 1-10, columns B and C.
using Poids = std::array<std::array<double, 2>, 10>;

// The decree's weights (annexe 2-2 of the Code de l'action sociale et des familles), typed here once more
// from its table, never read from the product: groups A to H.
extern const std::array<Poids, 8> kPoidsDuDecret;

// Eight tables of zeros; tests then give one group the weights they need.
TablesGroupes tablesNulles();
std::shared_ptr<IEntreeParametre> table(const Poids& poids, char groupe);
TablesGroupes tablesDuDecret();

// A factory of fresh parameter entries that counts what it creates.
struct FabriqueComptee {
    std::shared_ptr<int> creations = std::make_shared<int>(0);
    FabriqueEntree fabrique() const;
};

} // namespace pavonis::essai
