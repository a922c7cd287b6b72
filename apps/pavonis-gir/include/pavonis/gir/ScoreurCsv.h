#pragma once

#include <pavonis/engine/TableGir.h>
#include <pavonis/gir/LecteurCsv.h>

#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace pavonis {

// Scores CSV files of evaluations: every line gets its GIR and sub-group.
//
// Two forms of input, told apart by the header line:
//  - modalities: the ten discriminant variables' modalities (A, B, C);
//  - rows: the 24 evaluation rows, each "F" (fait) or "N" followed by the
//    adverbs not met (N, NS, NTH, NSTCH...); the six composite modalities are
//    then written too.
// Other columns pass through unchanged. The computed columns (gir,
// sous_groupe, and in row mode the six composite modalities) replace columns
// of the same name already in the file -- a file scored again keeps one set
// -- and are added at the end otherwise. A bad line is reported and written
// with empty results; the others are still scored.
class ScoreurCsv {
public:
    using Lecture = LecteurCsv::Lecture;
    using Ecriture = std::function<void(std::string_view)>;
    using Signalement = std::function<void(const std::string& message)>;

    enum class Mode { Modalites, Lignes };

    explicit ScoreurCsv(const TableGir& table);

    // Returns 0 when every line was scored, 2 when the header or a line was bad.
    int traiter(const Lecture& lire, const Ecriture& ecrire, const Signalement& signaler);

    // Persons scored per GIR (index 1 to 6) and lines not scored, for a summary.
    const std::array<std::size_t, 7>& parGir() const { return parGir_; }
    std::size_t lignesEnErreur() const { return lignesEnErreur_; }

private:
    struct Colonne {
        std::size_t champ; // field index in a record
        std::string_view nom;
    };
    // A computed column: where it goes in the output.
    struct Sortie {
        std::string_view nom;
        std::size_t champ; // the input field it replaces, or npos: added at the end
    };

    bool lireEntete(LecteurCsv& lecteur, const Signalement& signaler);
    void traiterEnregistrement(LecteurCsv& lecteur, const Signalement& signaler);
    void erreurLigne(const LecteurCsv& lecteur, const Signalement& signaler, const std::string& message);
    // Writes the record with these computed values (empty for a bad line).
    void ecrireEnregistrement(const LecteurCsv& lecteur, const std::vector<std::string_view>& valeurs);

    const TableGir& table_;
    char separateur_ = ';';
    std::string_view finDeLigne_ = "\n";
    Mode mode_ = Mode::Modalites;
    std::size_t nbChamps_ = 0;
    std::vector<std::string> nomsEntete_;
    std::vector<Colonne> colonnes_;      // in the order of the mode's table
    std::vector<Sortie> sorties_;        // composite modalities (row mode), gir, sous_groupe
    std::vector<std::size_t> remplaces_; // for each input field, its computed column + 1, or 0
    bool remplacement_ = false;
    std::string sortie_;
    std::vector<std::string_view> valeurs_; // of the record being written
    Ecriture ecrire_;
    std::size_t lignesEnErreur_ = 0;
    std::array<std::size_t, 7> parGir_{};
};

} // namespace pavonis
