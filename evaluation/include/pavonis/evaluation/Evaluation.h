#pragma once

#include <pavonis/hostapi/Visibilite.h>

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace pavonis {

// What the evaluator chose on a row.
enum class Choix : unsigned char {
    Aucun,     // neither option selected (the screen before its first reset)
    Fait,      // "Fait"
    NeFaitPas, // "Ne fait pas"
};

// The answers of one evaluation row: the choice and the four adverb boxes,
// ticked or not, in the order S, T, C, H (a ticked box: the condition is not
// met).
struct ReponseLigne {
    Choix choix = Choix::Aucun;
    std::array<bool, 4> adverbes{};

    friend bool operator==(const ReponseLigne&, const ReponseLigne&) = default;
};

// An AGGIR evaluation as the screen holds it: who evaluated whom, the date
// text as it stands in the date box, and the answers of the 24 rows, in the
// order of the grid (rows of variable 1 first, sub-variables in printed
// order). A value type; its results are never stored in it but computed by
// ResultatsEvaluation from the rows and the host's weights.
class PAVONIS_API Evaluation {
public:
    static constexpr std::size_t kNbLignes = 24;

    std::string evaluateur;
    std::string beneficiaire;
    std::string date;
    std::array<ReponseLigne, kNbLignes> lignes{};

    // The keys of the rows, in order ("Transferts", "DeplacInter", "ToiletteH"...).
    static std::string_view cle(std::size_t ligne);
    // The row of a key; raises Erreur (Saisie) naming an unknown key.
    static std::size_t indexLigne(std::string_view cle);

    ReponseLigne& ligne(std::string_view cle) { return lignes[indexLigne(cle)]; }
    const ReponseLigne& ligne(std::string_view cle) const { return lignes[indexLigne(cle)]; }

    // Raises Erreur (Saisie) naming the first row in a state the screen
    // cannot reach: adverbs ticked on a "Fait" row, or all four ticked (the
    // fourth tick clears the row).
    void verifier() const;

    // The keys of the rows neither "Fait" nor "Ne fait pas": the screen holds
    // such rows before its first reset, and such an evaluation is not scored.
    std::vector<std::string_view> lignesSansReponse() const;
    // "Transferts, ToiletteH" for a message.
    static std::string nommer(const std::vector<std::string_view>& cles);

    friend bool operator==(const Evaluation&, const Evaluation&) = default;
};

} // namespace pavonis
