#include <pavonis/host/TableValeurs.h>

#include <algorithm>

namespace pavonis {

void TableValeurs::definir(std::size_t ligne, std::size_t colonne, double v)
{
    if (ligne > lignes_ || colonne > colonnes_) {
        TableValeurs agrandie(std::max(ligne, lignes_), std::max(colonne, colonnes_));
        for (std::size_t l = 1; l <= lignes_; ++l)
            for (std::size_t c = 1; c <= colonnes_; ++c)
                agrandie.cellules_[agrandie.index(l, c)] = cellules_[index(l, c)];
        *this = std::move(agrandie);
    }
    cellules_[index(ligne, colonne)] = v;
}

bool TableValeurs::complete() const
{
    return std::all_of(cellules_.begin(), cellules_.end(), [](const auto& c) { return c.has_value(); });
}

} // namespace pavonis
