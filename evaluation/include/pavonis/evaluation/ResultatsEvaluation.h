#pragma once

#include <pavonis/evaluation/Evaluation.h>
#include <pavonis/hostapi/IEntreeParametre.h>
#include <pavonis/hostapi/Visibilite.h>

#include <array>
#include <memory>
#include <string_view>

namespace pavonis {

// What the engine derives from an evaluation's rows and the host's weights:
// the 24 row modalities, the six composite modalities, the GIR and its
// sub-group, exactly as the screen's rules give them.
struct PAVONIS_API ResultatsEvaluation {
    static constexpr std::size_t kNbComposees = 6;

    std::array<char, Evaluation::kNbLignes> notesLignes{}; // 'A', 'B' or 'C', in row order
    std::array<char, kNbComposees> notesComposees{};       // Toilette, Elimination, Habillage,
                                                           // Alimentation, Orientation, Cohérence
    int gir = 0;                                           // 1 to 6
    char sousGroupe = '\0';                                // 'A', 'B', 'C' for GIR 5 and 6

    // The keys of the six composite variables, in that order ("toilette"...).
    static std::string_view cleComposee(std::size_t i);

    // The eight group weight tables "A" to "H", as host parameter entries
    // (section "AGGIRPARAM"), read as the screen reads them. Raises Erreur
    // for an evaluation the screen cannot reach, a missing table, or a score
    // that overflows.
    using Tables = std::array<std::shared_ptr<IEntreeParametre>, 8>;
    static ResultatsEvaluation calculer(const Evaluation& evaluation, const Tables& tables);

    friend bool operator==(const ResultatsEvaluation&, const ResultatsEvaluation&) = default;
};

} // namespace pavonis
