#pragma once

#include <pavonis/engine/Adverbe.h>

#include <array>
#include <cstddef>
#include <string_view>

namespace pavonis {

// One of the 24 evaluation rows: a variable without sub-variables, or one
// sub-variable. The names are those of the screen controls, spelled exactly,
// irregular ones included.
struct LigneEvaluation {
    std::string_view cle;                  // row key: "Transferts", "ToiletteH"...
    int variable;                          // number of its variable, 1 to 17
    std::string_view sousVariable;         // screen caption of the sub-variable, "" when none
    std::string_view sousVariableImprimee; // printed label of the sub-variable
    std::string_view optionFait;
    std::string_view optionFaitPas;
    std::array<std::string_view, 4> cases; // adverb boxes, indexed by Adverbe (S, T, C, H)
    std::string_view note;
    std::string_view cadre;
    std::string_view etiquette;

    constexpr std::string_view caseAdverbe(Adverbe a) const { return cases[static_cast<std::size_t>(a)]; }
};

} // namespace pavonis
