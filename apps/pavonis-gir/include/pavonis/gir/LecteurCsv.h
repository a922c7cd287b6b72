#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace pavonis {

// Reads CSV records from a byte stream, in bounded memory and linear time.
//
// A record is one line, or several when a quoted field holds line ends; a
// line ends with LF, CR LF, or CR alone (the style of the first line holds
// for the whole file). A quoted field runs to its closing quote ("" is a
// quote) only if that quote comes within kEnregistrementMax bytes of the
// record's start: past that, or at the end of the input, the quote is left
// unclosed, the record is the line where it opened, reported as such, and
// reading goes on with the next line. A line longer than kLigneMax is
// reported and skipped without being kept in memory.
class LecteurCsv {
public:
    using Lecture = std::function<std::size_t(char* tampon, std::size_t taille)>; // 0 at the end

    static constexpr std::size_t kEnregistrementMax = 64 * 1024;
    static constexpr std::size_t kLigneMax = 1 << 20;

    struct Champ {
        std::size_t debut, fin; // raw bytes of the field, quotes included, from the record's start
    };
    enum class Issue {
        Enregistrement,    // champs() holds the record
        GuillemetNonFerme, // brut() is the line where the quote opened; colonne() the field
        LigneTropLongue,   // brut() holds the line's first bytes
        Fin,
    };

    explicit LecteurCsv(Lecture lire);

    // Reads the start of the input: a UTF-8 byte-order mark is skipped (and
    // kept for the output) and the line-end style found.
    void demarrer();
    bool marqueOrdre() const { return marqueOrdre_; }
    std::string_view finDeLigne() const { return finDeLigne_; }

    void definirSeparateur(char separateur) { separateur_ = separateur; }
    char separateur() const { return separateur_; }

    Issue suivant();
    // Reads the last record again with another separator (the header, when
    // the separator is not known yet).
    Issue relire(char separateur);

    const std::vector<Champ>& champs() const { return champs_; }
    // The record's bytes, without its line end.
    std::string_view brut() const { return brut_; }
    std::string_view champBrut(std::size_t i) const;
    // The field's value: surrounding blanks trimmed, quotes removed.
    std::string_view valeur(std::size_t i, std::string& tampon) const;
    // Physical line where the record starts, from 1.
    std::size_t ligne() const { return ligne_; }
    // Field where an unclosed quote opened, from 0.
    std::size_t colonne() const { return colonne_; }
    // A blank line: one empty field.
    bool vide() const { return champs_.size() == 1 && brut().empty(); }

private:
    bool remplir();
    // Where the line starting at `p` ends (its line end, or where the data
    // ends), and whether a line end was found.
    std::size_t finLigne(std::size_t p, bool& trouvee) const;
    std::size_t apresFinDeLigne(std::size_t p) const;
    Issue analyser();
    void decouperSansGuillemets(std::size_t debut, std::size_t fin);

    Lecture lire_;
    std::string tampon_;
    std::size_t debut_ = 0, fin_ = 0;
    bool finEntree_ = false;
    bool marqueOrdre_ = false;
    std::string_view finDeLigne_ = "\n";
    char terminateur_ = '\n';
    char separateur_ = ';';

    std::vector<Champ> champs_;
    std::size_t debutEnregistrement_ = 0, finEnregistrement_ = 0;
    std::size_t ligne_ = 0, colonne_ = 0;
    std::size_t lignesLues_ = 0;
    std::string_view brut_;
    std::string apercu_; // the start of a line too long to keep
};

} // namespace pavonis
