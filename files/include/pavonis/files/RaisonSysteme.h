#pragma once

#include <string>

namespace pavonis::fichiers {

// What a system error number means, in French, for a message a user reads:
// "plus de place sur le disque", "permission refusée"...
std::string raisonSysteme(int numero);

} // namespace pavonis::fichiers
