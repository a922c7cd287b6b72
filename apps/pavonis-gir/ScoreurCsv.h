#pragma once

#include "TableGir.h"

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
// Other columns pass through unchanged. A bad line is reported and written
// with empty results; the others are still scored.
class ScoreurCsv {
public:
    using Lecture = std::function<std::size_t(char* tampon, std::size_t taille)>; // 0 at the end
    using Ecriture = std::function<void(std::string_view)>;
    using Signalement = std::function<void(const std::string& message)>;

    enum class Mode { Modalites, Lignes };

    explicit ScoreurCsv(const TableGir& table);

    // Returns 0 when every line was scored, 2 when the header or a line was bad.
    int traiter(const Lecture& lire, const Ecriture& ecrire, const Signalement& signaler);


private:
    struct Champ {
        std::size_t debut, fin; // raw bytes, quotes included
    };
    struct Colonne {
        std::size_t champ; // field index in a record
        std::string_view nom;
    };

    bool remplir();
    // Splits the record starting at `debut_`; false when the input is exhausted.
    bool enregistrementSuivant();
    std::string_view valeur(const Champ& c, std::string& tampon) const;
    bool lireEntete(const Signalement& signaler);
    void traiterEnregistrement(const Signalement& signaler);
    void erreurLigne(const Signalement& signaler, const std::string& message);

    const TableGir& table_;
    Lecture lire_;
    std::string tampon_;
    std::size_t debut_ = 0, fin_ = 0;
    bool finEntree_ = false;

    // The current record.
    std::vector<Champ> champs_;
    std::size_t finEnregistrement_ = 0; // end of its bytes, without the line end
    std::size_t ligne_ = 0;             // physical line where it starts
    std::size_t lignesPhysiques_ = 0;

    char separateur_ = ';';
    std::string_view finDeLigne_ = "\n";
    Mode mode_ = Mode::Modalites;
    std::size_t nbChamps_ = 0;
    std::vector<Colonne> colonnes_; // in the order of the mode's table
    std::string sortie_;
    Ecriture ecrire_;
    std::size_t lignesEnErreur_ = 0;
};

} // namespace pavonis
