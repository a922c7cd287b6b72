#pragma once

#include <cstddef>
#include <optional>
#include <vector>

namespace pavonis {

// The table of numbers of a parameter entry: rows and columns counted from 1,
// some cells possibly empty. A value type.
class TableValeurs {
public:
    TableValeurs() = default;
    TableValeurs(std::size_t lignes, std::size_t colonnes)
        : lignes_(lignes), colonnes_(colonnes), cellules_(lignes * colonnes)
    {}

    std::size_t lignes() const { return lignes_; }
    std::size_t colonnes() const { return colonnes_; }

    std::optional<double> valeur(long ligne, long colonne) const
    {
        if (ligne < 1 || colonne < 1 || static_cast<std::size_t>(ligne) > lignes_ ||
            static_cast<std::size_t>(colonne) > colonnes_)
            return std::nullopt;
        return cellules_[index(static_cast<std::size_t>(ligne), static_cast<std::size_t>(colonne))];
    }

    // Grows the table as needed.
    void definir(std::size_t ligne, std::size_t colonne, double v);

    // Every cell of the table holds a value.
    bool complete() const;

private:
    std::size_t index(std::size_t ligne, std::size_t colonne) const
    {
        return (ligne - 1) * colonnes_ + (colonne - 1);
    }

    std::size_t lignes_ = 0;
    std::size_t colonnes_ = 0;
    std::vector<std::optional<double>> cellules_;
};

} // namespace pavonis
