#include <pavonis/host/MagasinParametres.h>

#include <pavonis/host/Installation.h>
#include <pavonis/host/PoidsPublies.h>

#include <pavonis/files/ConfianceFichier.h>
#include <pavonis/hostapi/Erreur.h>

#include <sqlite3.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <random>
#include <system_error>
#include <vector>

#include <unistd.h>

namespace fs = std::filesystem;

namespace pavonis {

namespace {

// Marks our files: "Pavo".
constexpr int kIdentifiantApplication = 0x5061766F;
constexpr int kVersionSchema = 1;

constexpr const char* kSchema = R"sql(
PRAGMA application_id = 1348564591;
PRAGMA user_version = 1;
CREATE TABLE sections (
    nom TEXT PRIMARY KEY NOT NULL
) WITHOUT ROWID;
CREATE TABLE entrees (
    section TEXT NOT NULL REFERENCES sections(nom) ON DELETE CASCADE,
    cle     TEXT NOT NULL,
    texte   TEXT NOT NULL DEFAULT '',
    PRIMARY KEY (section, cle)
) WITHOUT ROWID;
CREATE TABLE valeurs (
    section TEXT NOT NULL,
    cle     TEXT NOT NULL,
    ligne   INTEGER NOT NULL,
    colonne INTEGER NOT NULL,
    valeur  NUMERIC NOT NULL,
    PRIMARY KEY (section, cle, ligne, colonne),
    FOREIGN KEY (section, cle) REFERENCES entrees(section, cle) ON DELETE CASCADE
) WITHOUT ROWID;
)sql";

static_assert(kIdentifiantApplication == 1348564591);

class Requete {
public:
    Requete(sqlite3* base, const char* sql)
    {
        if (sqlite3_prepare_v2(base, sql, -1, &stmt_, nullptr) != SQLITE_OK)
            stmt_ = nullptr;
    }
    ~Requete() { sqlite3_finalize(stmt_); }
    Requete(const Requete&) = delete;
    Requete& operator=(const Requete&) = delete;

    bool prete() const { return stmt_ != nullptr; }
    Requete& lier(int i, const std::string& t)
    {
        sqlite3_bind_text(stmt_, i, t.data(), static_cast<int>(t.size()), SQLITE_TRANSIENT);
        return *this;
    }
    Requete& lier(int i, int v)
    {
        sqlite3_bind_int(stmt_, i, v);
        return *this;
    }
    Requete& lier(int i, double v)
    {
        sqlite3_bind_double(stmt_, i, v);
        return *this;
    }
    // SQLITE_ROW, SQLITE_DONE or an error code.
    int pas() { return sqlite3_step(stmt_); }
    sqlite3_stmt* brut() { return stmt_; }

private:
    sqlite3_stmt* stmt_ = nullptr;
};

std::string texteColonne(sqlite3_stmt* s, int i)
{
    const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(s, i));
    return t ? std::string(t, static_cast<std::size_t>(sqlite3_column_bytes(s, i))) : std::string();
}

std::string designation(const std::string& section, const std::string& cle)
{
    return "l'entrée \"" + cle + "\" de la section \"" + section + "\"";
}

// The shape of a table. Sections the AGGIR grid reads have a fixed one; any
// other table stays within general bounds.
struct Forme {
    long lignes, colonnes;
    bool exacte;
};
constexpr Forme kFormeGenerale{1000, 100, false};
constexpr Forme kFormePoids{10, 2, true}; // "AGGIRPARAM": rows 1-10, columns B and C

Forme formeDe(const std::string& section)
{
    return section == "AGGIRPARAM" ? kFormePoids : kFormeGenerale;
}

std::string texteForme(const Forme& f)
{
    return std::string(f.exacte ? "de " : "d'au plus ") + std::to_string(f.lignes) + " lignes sur " +
           std::to_string(f.colonnes) + " colonnes";
}

// Puts a finished file at its place, never over an existing one. False when
// another file took the place first.
bool publier(const fs::path& temporaire, const fs::path& chemin, std::string& raison)
{
    if (::link(temporaire.c_str(), chemin.c_str()) == 0) {
        ::unlink(temporaire.c_str());
        return true;
    }
    if (errno == EEXIST)
        return false;
    raison = std::generic_category().message(errno);
    throw Erreur(Erreur::Code::Stockage, raison);
}

// A path of our own beside the store, for the seeding.
fs::path temporaireUnique(const fs::path& chemin)
{
    std::random_device alea;
    const unsigned long long n = (static_cast<unsigned long long>(alea()) << 32) ^ alea();
    fs::path t = chemin;
    t += ".creation-" + std::to_string(n);
    return t;
}

void supprimerTemporaire(const fs::path& t)
{
    std::error_code ec;
    fs::remove(t, ec);
    fs::path journal = t;
    journal += "-journal";
    fs::remove(journal, ec);
}

// A symbolic link to nothing is not a missing store: it is named as such.
// A store that someone else can change is refused: its weights decide
// every GIR.
void verifierAvantOuverture(const fs::path& chemin)
{
    std::error_code ec;
    if (fs::is_symlink(fs::symlink_status(chemin, ec)) && !fs::exists(chemin, ec))
        throw Erreur(Erreur::Code::Stockage,
                     "Le fichier de paramètres " + chemin.string() + " est un lien symbolique vers " +
                         fs::read_symlink(chemin, ec).string() + ", qui n'existe pas.");
    fichiers::verifierConfiance(chemin, "du fichier de paramètres");
}

} // namespace

MagasinParametres::MagasinParametres(fs::path chemin, sqlite3* base) : chemin_(std::move(chemin)), base_(base)
{}

MagasinParametres::~MagasinParametres()
{
    sqlite3_close(base_);
}

void MagasinParametres::echec(const std::string& action) const
{
    throw Erreur(Erreur::Code::Stockage, "Fichier de paramètres " + chemin_.string() + " : " + action +
                                             " impossible (" + sqlite3_errmsg(base_) + ").");
}

sqlite3* MagasinParametres::ouvrirBase(const fs::path& fichier, int drapeaux, const fs::path& nom)
{
    sqlite3* base = nullptr;
    const int rc = sqlite3_open_v2(fichier.string().c_str(), &base, drapeaux, nullptr);
    if (rc != SQLITE_OK) {
        const std::string raison = base ? sqlite3_errmsg(base) : sqlite3_errstr(rc);
        sqlite3_close(base);
        throw Erreur(Erreur::Code::Stockage,
                     "Impossible d'ouvrir le fichier de paramètres " + nom.string() + " (" + raison + ").");
    }
    sqlite3_extended_result_codes(base, 1);
    sqlite3_busy_timeout(base, 2000);
    return base;
}

std::shared_ptr<MagasinParametres> MagasinParametres::ouvrirExistant(const fs::path& chemin)
{
    verifierAvantOuverture(chemin);
    std::error_code ec;
    if (!fs::exists(chemin, ec))
        throw Erreur(Erreur::Code::Stockage,
                     "Le fichier de paramètres " + chemin.string() + " n'existe pas.");
    std::shared_ptr<MagasinParametres> m(
        new MagasinParametres(chemin, ouvrirBase(chemin, SQLITE_OPEN_READWRITE, chemin)));
    m->verifierStructure();
    m->executer("PRAGMA foreign_keys = ON;");
    return m;
}

std::shared_ptr<MagasinParametres> MagasinParametres::ouvrir(const fs::path& chemin,
                                                             const std::string& repertoireInstallation)
{
    verifierAvantOuverture(chemin);
    std::error_code ec;
    // Another program may create it at the same moment: whichever publishes
    // first wins, the other opens the winner's store.
    if (!fs::exists(chemin, ec))
        creerSiAbsent(chemin, repertoireInstallation);
    return ouvrirExistant(chemin);
}

std::shared_ptr<MagasinParametres> MagasinParametres::ouvrirNommeOuParDefaut(const fs::path& nomme)
{
    return nomme.empty() ? ouvrir(cheminParDefaut(), installation::repertoireInstallation())
                         : ouvrirExistant(nomme);
}

void MagasinParametres::creer(const fs::path& chemin, const std::string& repertoireInstallation)
{
    verifierAvantOuverture(chemin);
    std::error_code ec;
    if (fs::exists(chemin, ec) || !creerSiAbsent(chemin, repertoireInstallation))
        throw Erreur(Erreur::Code::Stockage, "Le fichier de paramètres " + chemin.string() + " existe déjà.");
}

bool MagasinParametres::creerSiAbsent(const fs::path& chemin, const std::string& repertoireInstallation)
{
    if (chemin.has_parent_path())
        fichiers::creerDossiers(chemin.parent_path());

    // Seed a file of our own, then put it in place in one step: nobody ever
    // sees a half-filled store, and an existing one is never replaced.
    const fs::path temporaire = temporaireUnique(chemin);
    std::string raison;
    try {
        {
            std::unique_ptr<MagasinParametres> m(new MagasinParametres(
                chemin, ouvrirBase(temporaire, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, chemin)));
            m->executer("BEGIN;");
            m->executer(kSchema);
            static constexpr char kLettres[] = "ABCDEFGH";
            for (std::size_t g = 0; g < kPoidsPublies.size(); ++g) {
                const std::string cle(1, kLettres[g]);
                m->ecrireEntree("AGGIRPARAM", cle, "");
                for (std::size_t l = 0; l < kPoidsPublies[g].size(); ++l)
                    for (std::size_t c = 0; c < 2; ++c)
                        m->ecrireValeur("AGGIRPARAM", cle, static_cast<int>(l + 1), static_cast<int>(c + 1),
                                        kPoidsPublies[g][l][c]);
            }
            m->ecrireEntree("CHEMINFICHIER", "1", repertoireInstallation);
            m->executer("COMMIT;");
        }
        const bool publie = publier(temporaire, chemin, raison);
        supprimerTemporaire(temporaire);
        return publie;
    } catch (const Erreur& e) {
        supprimerTemporaire(temporaire);
        throw Erreur(Erreur::Code::Stockage, "Impossible de créer le fichier de paramètres " +
                                                 chemin.string() + " (" +
                                                 (raison.empty() ? std::string(e.what()) : raison) + ").");
    }
}

fs::path MagasinParametres::cheminParDefaut()
{
    fs::path donnees;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg)
        donnees = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home)
        donnees = fs::path(home) / ".local" / "share";
    else // never a shared folder, where anyone could leave a store of their own
        throw Erreur(Erreur::Code::Stockage,
                     "Pas de dossier personnel (ni HOME ni XDG_DATA_HOME) pour le magasin de paramètres : "
                     "indiquez-le avec --parametres FICHIER, ou définissez XDG_DATA_HOME.");
    return donnees / "pavonis" / "parametres.sqlite";
}

void MagasinParametres::executer(const std::string& sql)
{
    char* message = nullptr;
    if (sqlite3_exec(base_, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
        const std::string raison = message ? message : sqlite3_errmsg(base_);
        sqlite3_free(message);
        throw Erreur(Erreur::Code::Stockage,
                     "Fichier de paramètres " + chemin_.string() + " : " + raison + ".");
    }
}

void MagasinParametres::verifierStructure()
{
    Requete id(base_, "PRAGMA application_id;");
    if (!id.prete() || id.pas() != SQLITE_ROW)
        echec("lecture"); // not a database, or unreadable
    if (sqlite3_column_int(id.brut(), 0) != kIdentifiantApplication)
        throw Erreur(
            Erreur::Code::Stockage,
            "Le fichier " + chemin_.string() +
                " n'est pas un fichier de paramètres Pavonis (base SQLite d'une autre application).");
    Requete version(base_, "PRAGMA user_version;");
    if (!version.prete() || version.pas() != SQLITE_ROW)
        echec("lecture");
    if (const int v = sqlite3_column_int(version.brut(), 0); v != kVersionSchema)
        throw Erreur(Erreur::Code::Stockage,
                     "Le fichier de paramètres " + chemin_.string() + " est au format " + std::to_string(v) +
                         ", ce programme lit le format " + std::to_string(kVersionSchema) + ".");
    for (const char* table : {"sections", "entrees", "valeurs"}) {
        Requete r(base_, "SELECT 1 FROM sqlite_schema WHERE type = 'table' AND name = ?1;");
        if (!r.prete())
            echec("lecture");
        r.lier(1, std::string(table));
        const int rc = r.pas();
        if (rc == SQLITE_DONE)
            throw Erreur(Erreur::Code::Stockage, "Le fichier de paramètres " + chemin_.string() +
                                                     " est incomplet : la table \"" + table + "\" manque.");
        if (rc != SQLITE_ROW)
            echec("lecture");
    }
}

bool MagasinParametres::sectionExiste(const std::string& section)
{
    Requete r(base_, "SELECT 1 FROM sections WHERE nom = ?1;");
    if (!r.prete())
        echec("lecture de la section \"" + section + "\"");
    r.lier(1, section);
    const int rc = r.pas();
    if (rc != SQLITE_ROW && rc != SQLITE_DONE)
        echec("lecture de la section \"" + section + "\"");
    return rc == SQLITE_ROW;
}

std::optional<MagasinParametres::Entree> MagasinParametres::lireEntree(const std::string& section,
                                                                       const std::string& cle)
{
    const std::string quoi = "lecture de " + designation(section, cle);
    Requete e(base_, "SELECT texte FROM entrees WHERE section = ?1 AND cle = ?2;");
    if (!e.prete())
        echec(quoi);
    e.lier(1, section).lier(2, cle);
    int rc = e.pas();
    if (rc == SQLITE_DONE)
        return std::nullopt;
    if (rc != SQLITE_ROW)
        echec(quoi);
    Entree entree{texteColonne(e.brut(), 0), {}};

    Requete v(base_, "SELECT ligne, colonne, valeur FROM valeurs WHERE section = ?1 AND cle = ?2 "
                     "ORDER BY ligne, colonne;");
    if (!v.prete())
        echec(quoi);
    v.lier(1, section).lier(2, cle);

    // Every cell is checked before the table is built, once, at its size:
    // reading stays linear whatever the file holds.
    const Forme forme = formeDe(section);
    struct Cellule {
        long ligne, colonne;
        double valeur;
    };
    std::vector<Cellule> cellules;
    long lignes = 0, colonnes = 0;
    const auto refuser = [&](const std::string& probleme) {
        throw Erreur(Erreur::Code::ParametreInvalide,
                     "Dans " + chemin_.string() + ", " + designation(section, cle) + " : " + probleme);
    };
    while ((rc = v.pas()) == SQLITE_ROW) {
        sqlite3_stmt* r = v.brut();
        for (int i : {0, 1})
            if (sqlite3_column_type(r, i) != SQLITE_INTEGER)
                refuser(std::string("le numéro de ") + (i == 0 ? "ligne" : "colonne") + " \"" +
                        texteColonne(r, i) + "\" n'est pas un nombre entier.");
        const sqlite3_int64 ligne = sqlite3_column_int64(r, 0);
        const sqlite3_int64 colonne = sqlite3_column_int64(r, 1);
        const std::string cellule =
            "la cellule ligne " + std::to_string(ligne) + ", colonne " + std::to_string(colonne);
        if (ligne < 1 || ligne > forme.lignes || colonne < 1 || colonne > forme.colonnes)
            refuser(cellule + " est hors de la table, qui est " + texteForme(forme) + ".");
        const int type = sqlite3_column_type(r, 2);
        if (type != SQLITE_INTEGER && type != SQLITE_FLOAT)
            refuser(cellule + " : la valeur \"" + texteColonne(r, 2) + "\" n'est pas un nombre.");
        cellules.push_back(
            {static_cast<long>(ligne), static_cast<long>(colonne), sqlite3_column_double(r, 2)});
        lignes = std::max(lignes, static_cast<long>(ligne));
        colonnes = std::max(colonnes, static_cast<long>(colonne));
    }
    if (rc != SQLITE_DONE)
        echec(quoi);
    entree.table = TableValeurs(static_cast<std::size_t>(lignes), static_cast<std::size_t>(colonnes));
    for (const Cellule& c : cellules)
        entree.table.definir(static_cast<std::size_t>(c.ligne), static_cast<std::size_t>(c.colonne),
                             c.valeur);
    return entree;
}

void MagasinParametres::verifierTablesPoids()
{
    if (!sectionExiste("AGGIRPARAM"))
        throw Erreur(Erreur::Code::ParametreInvalide, "Paramètres AGGIR incorrects dans " + chemin_.string() +
                                                          " : la section \"AGGIRPARAM\" manque.");
    for (char lettre = 'A'; lettre <= 'H'; ++lettre) {
        const std::string cle(1, lettre);
        const auto e = lireEntree("AGGIRPARAM", cle);
        const auto probleme = [&](const std::string& texte) {
            throw Erreur(Erreur::Code::ParametreInvalide, "Paramètres AGGIR incorrects dans " +
                                                              chemin_.string() + " : " +
                                                              designation("AGGIRPARAM", cle) + texte);
        };
        if (!e)
            probleme(" manque.");
        for (int l = 1; l <= 10; ++l)
            for (int c = 1; c <= 2; ++c)
                if (!e->table.valeur(l, c))
                    probleme(" n'a pas de valeur en ligne " + std::to_string(l) + ", colonne " +
                             std::to_string(c) + " (il faut 10 lignes sur 2 colonnes).");
    }
}

void MagasinParametres::verifierParametresAggir()
{
    verifierTablesPoids();
    const auto probleme = [&](const std::string& texte) {
        throw Erreur(Erreur::Code::ParametreInvalide,
                     "Paramètres AGGIR incorrects dans " + chemin_.string() + " : " + texte);
    };
    if (!sectionExiste("CHEMINFICHIER"))
        probleme("la section \"CHEMINFICHIER\" manque.");
    const auto chemin = lireEntree("CHEMINFICHIER", "1");
    if (!chemin)
        probleme(designation("CHEMINFICHIER", "1") + " manque.");
    if (chemin->texte.size() < 5)
        probleme(designation("CHEMINFICHIER", "1") + " (répertoire d'installation) a moins de 5 caractères.");
}

void MagasinParametres::ecrireEntree(const std::string& section, const std::string& cle,
                                     const std::string& texte)
{
    Requete s(base_, "INSERT OR IGNORE INTO sections(nom) VALUES (?1);");
    if (!s.prete())
        echec("écriture");
    s.lier(1, section);
    if (s.pas() != SQLITE_DONE)
        echec("écriture de la section \"" + section + "\"");
    Requete e(base_, "INSERT INTO entrees(section, cle, texte) VALUES (?1, ?2, ?3) "
                     "ON CONFLICT(section, cle) DO UPDATE SET texte = excluded.texte;");
    if (!e.prete())
        echec("écriture");
    e.lier(1, section).lier(2, cle).lier(3, texte);
    if (e.pas() != SQLITE_DONE)
        echec("écriture de " + designation(section, cle));
}

void MagasinParametres::ecrireValeur(const std::string& section, const std::string& cle, int ligne,
                                     int colonne, double valeur)
{
    Requete v(base_, "INSERT OR REPLACE INTO valeurs(section, cle, ligne, colonne, valeur) "
                     "VALUES (?1, ?2, ?3, ?4, ?5);");
    if (!v.prete())
        echec("écriture");
    v.lier(1, section).lier(2, cle).lier(3, ligne).lier(4, colonne).lier(5, valeur);
    if (v.pas() != SQLITE_DONE)
        echec("écriture d'une valeur de " + designation(section, cle));
}

void MagasinParametres::supprimerEntree(const std::string& section, const std::string& cle)
{
    Requete e(base_, "DELETE FROM entrees WHERE section = ?1 AND cle = ?2;");
    if (!e.prete())
        echec("écriture");
    e.lier(1, section).lier(2, cle);
    if (e.pas() != SQLITE_DONE)
        echec("suppression de " + designation(section, cle));
}

void MagasinParametres::supprimerValeur(const std::string& section, const std::string& cle, int ligne,
                                        int colonne)
{
    Requete v(base_, "DELETE FROM valeurs WHERE section = ?1 AND cle = ?2 AND ligne = ?3 AND colonne = ?4;");
    if (!v.prete())
        echec("écriture");
    v.lier(1, section).lier(2, cle).lier(3, ligne).lier(4, colonne);
    if (v.pas() != SQLITE_DONE)
        echec("suppression d'une valeur de " + designation(section, cle));
}

void MagasinParametres::supprimerSection(const std::string& section)
{
    Requete s(base_, "DELETE FROM sections WHERE nom = ?1;");
    if (!s.prete())
        echec("écriture");
    s.lier(1, section);
    if (s.pas() != SQLITE_DONE)
        echec("suppression de la section \"" + section + "\"");
}

} // namespace pavonis
