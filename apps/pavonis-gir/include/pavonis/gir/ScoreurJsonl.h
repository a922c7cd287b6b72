#pragma once

#include <pavonis/engine/TableGir.h>
#include <pavonis/evaluation/Evaluation.h>
#include <pavonis/evaluation/ModalitesEvaluation.h>

#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace pavonis {

// Scores evaluations in the exchange format, one JSON object per line (JSON
// Lines), and writes them as CSV in the columns of the row mode: identity
// (evaluateur, beneficiaire, date), the 24 rows ("F", "N" and the adverbs
// not met, empty for a row without a choice), the six composite modalities,
// gir and sous_groupe. A bad line is reported, with the JSON path of its
// fault, and left out; a line with rows nobody answered is reported and
// written without results; results written in a line that differ from the
// recomputed ones are reported as warnings.
//
// The input is read in blocks of whole lines; the next block is read while
// the cores take parts of the current one as they free up, so one slow part
// does not hold the others. The output keeps the input's order.
class ScoreurJsonl {
public:
    using Lecture = std::function<std::size_t(char* tampon, std::size_t taille)>; // 0 at the end
    using Ecriture = std::function<void(std::string_view)>;
    using Signalement = std::function<void(const std::string& message)>;

    static constexpr std::size_t kLigneMax = 1 << 20;

    // `fils`: how many threads share a block (0: one per core).
    explicit ScoreurJsonl(const TableGir& table, unsigned fils = 0);

    // Returns 0 when every line was scored, 2 when a line was bad.
    int traiter(const Lecture& lire, const Ecriture& ecrire, const Signalement& signaler);

    // The CSV header line.
    static std::string entete();

    const std::array<std::size_t, 7>& parGir() const { return parGir_; }
    std::size_t lignesEnErreur() const { return lignesEnErreur_; }

private:
    // What one thread makes of a part of a block; lines numbered from 1.
    struct Morceau {
        std::string sortie;
        std::vector<std::pair<std::size_t, std::string>> messages;
        std::size_t lignes = 0, erreurs = 0;
        std::array<std::size_t, 7> parGir{};
    };
    void traiterMorceau(std::string_view texte, Morceau& m) const;
    // Scores a block of whole lines on the threads, then writes it in order.
    void traiterBloc(std::string_view bloc, const Ecriture& ecrire, const Signalement& signaler);
    void ligneTropLongue(const Signalement& signaler);
    // Scores the line at the start of `texte`, and leaves `texte` after it.
    void traiterLigne(std::string_view& texte, std::size_t numero, Morceau& m) const;
    static void ecrireLigne(std::string& s, const Evaluation& e, const ModalitesEvaluation* mod,
                            std::uint8_t code);

    const TableGir& table_;
    unsigned fils_;
    std::vector<Morceau> morceaux_;
    std::size_t lignesAvant_ = 0;
    std::size_t lignesEnErreur_ = 0;
    std::array<std::size_t, 7> parGir_{};
};

} // namespace pavonis
