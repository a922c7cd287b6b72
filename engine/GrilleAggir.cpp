#include <pavonis/engine/GrilleAggir.h>

namespace pavonis::grille {

std::optional<std::size_t> indexLigne(std::string_view cle)
{
    for (std::size_t i = 0; i < kLignes.size(); ++i)
        if (kLignes[i].cle == cle)
            return i;
    return std::nullopt;
}

} // namespace pavonis::grille
