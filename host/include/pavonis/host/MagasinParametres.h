#pragma once

#include <pavonis/host/TableValeurs.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

struct sqlite3;

namespace pavonis {

// The stand-alone host's parameter data, in an SQLite file: sections of
// entries, each entry a text and a table of numbers. A new store is seeded
// with the published AGGIR weights ("AGGIRPARAM", entries "A" to "H") and the
// installation directory ("CHEMINFICHIER", entry "1"). An existing file is
// never replaced or repaired: whatever is wrong with it is reported.
class MagasinParametres {
public:
    struct Entree {
        std::string texte;
        TableValeurs table;
    };

    // Opens the store at `chemin`; when no file is there yet, creates and
    // seeds it first, with `repertoireInstallation` as the directory text.
    // Programs that start together on a new store end up with the same one.
    // Raises Erreur (Stockage) for a file that is not a readable store, and
    // for a symbolic link to nothing; Erreur (Confiance) for a file, or a
    // folder holding it, that another user than the caller or root owns or
    // that the group or others can write.
    static std::shared_ptr<MagasinParametres> ouvrir(const std::filesystem::path& chemin,
                                                     const std::string& repertoireInstallation);

    // What a program opens: the store it is told of, which must exist, or
    // else the user's default store, made and seeded at the first use.
    static std::shared_ptr<MagasinParametres> ouvrirNommeOuParDefaut(const std::filesystem::path& nomme);

    // Opens an existing store; a missing file is an error.
    static std::shared_ptr<MagasinParametres> ouvrirExistant(const std::filesystem::path& chemin);

    // Creates and seeds a new store; an existing file is an error.
    static void creer(const std::filesystem::path& chemin, const std::string& repertoireInstallation);

    // The per-user default store: $XDG_DATA_HOME/pavonis/parametres.sqlite
    // (~/.local/share/pavonis/... when XDG_DATA_HOME is unset). Raises Erreur
    // when neither XDG_DATA_HOME nor HOME is set: a store never lives in a
    // shared folder.
    static std::filesystem::path cheminParDefaut();

    ~MagasinParametres();
    MagasinParametres(const MagasinParametres&) = delete;
    MagasinParametres& operator=(const MagasinParametres&) = delete;

    const std::filesystem::path& chemin() const { return chemin_; }

    bool sectionExiste(const std::string& section);
    // Empty when the section has no entry of that key. Raises Erreur naming
    // the section, the entry and the cell for a cell whose row or column is
    // not a whole number within the table (a weight table of "AGGIRPARAM"
    // is 10 rows by 2 columns; any other table at most 1000 by 100), or
    // whose value is not a number.
    std::optional<Entree> lireEntree(const std::string& section, const std::string& cle);

    // Checks the eight weight tables: complete, 10 rows by 2 columns.
    void verifierTablesPoids();
    // Checks all the AGGIR grid needs: the weight tables, and a directory
    // text of at least 5 characters. Raises Erreur naming the first problem.
    void verifierParametresAggir();

    // Editing, for administration tools and tests.
    void ecrireEntree(const std::string& section, const std::string& cle, const std::string& texte);
    void ecrireValeur(const std::string& section, const std::string& cle, int ligne, int colonne,
                      double valeur);
    void supprimerEntree(const std::string& section, const std::string& cle);
    void supprimerValeur(const std::string& section, const std::string& cle, int ligne, int colonne);
    void supprimerSection(const std::string& section);
    // Runs raw SQL on the file (tests use it to produce broken stores).
    void executer(const std::string& sql);

private:
    MagasinParametres(std::filesystem::path chemin, sqlite3* base);
    // `nom`: the store as messages name it.
    static sqlite3* ouvrirBase(const std::filesystem::path& fichier, int drapeaux,
                               const std::filesystem::path& nom);
    // False when another program created the store first.
    static bool creerSiAbsent(const std::filesystem::path& chemin, const std::string& repertoireInstallation);
    void verifierStructure();
    [[noreturn]] void echec(const std::string& action) const;

    std::filesystem::path chemin_;
    sqlite3* base_;
};

} // namespace pavonis
