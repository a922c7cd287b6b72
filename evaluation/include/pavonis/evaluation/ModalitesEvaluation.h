#pragma once

#include <pavonis/engine/PoidsGroupes.h>

#include <pavonis/evaluation/Evaluation.h>
#include <pavonis/hostapi/Visibilite.h>

#include <array>

namespace pavonis {

// The modalities the row rule and the combining rules give an evaluation's
// rows: the part of its results that needs no weights.
struct PAVONIS_API ModalitesEvaluation {
    std::array<char, Evaluation::kNbLignes> lignes{};
    std::array<char, 6> composees{}; // in the order of grille::kVariablesComposees
    CodesModalites codes{};          // the ten weighted modalities, weight-table row order
    char alerter = 'A', deplacExter = 'A';

    static ModalitesEvaluation calculer(const Evaluation& evaluation);
};

} // namespace pavonis
