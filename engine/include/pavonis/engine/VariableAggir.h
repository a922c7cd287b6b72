#pragma once

#include <cstddef>
#include <string_view>

namespace pavonis {

enum class Nature { Discriminante, Illustrative };

// How the notes of a variable's sub-variables combine into its own note.
enum class RegleComposee { Aucune, Toilette, Elimination, Habillage, Alimentation, Orientation, Coherence };

// One of the 17 variables of the grid.
struct VariableAggir {
    int numero;                      // 1 to 17
    std::string_view libelle;        // screen caption
    std::string_view libelleImprime; // printed label, with its leading blank
    Nature nature;
    std::string_view cle;       // ASCII key, lower case without accents (CSV columns)
    std::string_view cadre;     // frame of the variable
    std::string_view etiquette; // label: its clickable name
    std::string_view note;      // note box holding the variable's modality
    std::size_t premiereLigne;  // its rows, contiguous in the row table
    std::size_t nbLignes;
    RegleComposee regle; // Aucune for a variable without sub-variables

    constexpr bool composee() const { return nbLignes > 1; }
};

} // namespace pavonis
