#include <pavonis/gir/ScoreurCsv.h>

#include <pavonis/engine/Adverbe.h>
#include <pavonis/engine/Composition.h>
#include <pavonis/engine/GrilleAggir.h>
#include <pavonis/engine/RegleLigne.h>

#include <algorithm>
#include <array>
#include <cstring>

namespace pavonis {

namespace {

constexpr std::size_t kSeuilEcriture = 1 << 20;
constexpr std::size_t kAucun = static_cast<std::size_t>(-1);
constexpr std::size_t kApercu = 20;

std::string entreGuillemets(std::string_view v)
{
    std::string r = "\"";
    r.append(v);
    r += '"';
    return r;
}

// The first characters of a text, whole UTF-8 characters only.
std::string apercu(std::string_view v)
{
    if (v.size() <= kApercu)
        return std::string(v);
    std::size_t n = kApercu;
    while (n > 0 && (static_cast<unsigned char>(v[n]) & 0xC0) == 0x80)
        --n;
    return std::string(v.substr(0, n)) + "…";
}

// The columns of each mode, in the order the scorer uses them.
std::vector<std::string_view> nomsColonnes(ScoreurCsv::Mode mode)
{
    std::vector<std::string_view> noms;
    if (mode == ScoreurCsv::Mode::Modalites)
        for (int numero : grille::kVariablesPonderees)
            noms.push_back(grille::variable(numero).cle);
    else
        for (const LigneEvaluation& l : grille::kLignes)
            noms.push_back(l.cle);
    return noms;
}

// "F", or "N" followed by distinct adverbs among S, T, C, H. Returns the
// number of adverbs, -1 for "F", or -2 when the cell is not of that form.
int lireCelluleLigne(std::string_view v)
{
    if (v == "F")
        return -1;
    if (v.empty() || v.front() != 'N' || v.size() > 5)
        return -2;
    unsigned vues = 0;
    for (char c : v.substr(1)) {
        const std::optional<std::size_t> a = indexAdverbe(c);
        if (!a)
            return -2;
        const unsigned bit = 1u << *a;
        if (vues & bit)
            return -2;
        vues |= bit;
    }
    return static_cast<int>(v.size() - 1);
}

} // namespace

ScoreurCsv::ScoreurCsv(const TableGir& table) : table_(table) {}

bool ScoreurCsv::lireEntete(LecteurCsv& lecteur, const Signalement& signaler)
{
    struct Essai {
        char separateur;
        Mode mode;
        std::vector<std::string_view> manquantes;
        std::size_t presentes = 0;
    };
    std::vector<Essai> essais;
    std::vector<std::string> noms;
    std::string t;
    const auto lireNoms = [&] {
        noms.clear();
        for (std::size_t i = 0; i < lecteur.champs().size(); ++i)
            noms.emplace_back(lecteur.valeur(i, t));
    };
    for (char sep : {';', ','}) {
        lecteur.definirSeparateur(sep);
        const LecteurCsv::Issue issue = sep == ';' ? lecteur.suivant() : lecteur.relire(sep);
        if (issue == LecteurCsv::Issue::Fin) {
            signaler("entrée vide : la ligne d'en-tête manque.");
            return false;
        }
        if (issue != LecteurCsv::Issue::Enregistrement) {
            signaler("en-tête : " +
                     std::string(issue == LecteurCsv::Issue::LigneTropLongue
                                     ? "ligne trop longue"
                                     : "un guillemet ouvert n'est jamais fermé") +
                     " (début : " + entreGuillemets(apercu(lecteur.brut())) + ").");
            return false;
        }
        lireNoms();
        for (Mode mode : {Mode::Lignes, Mode::Modalites}) {
            Essai e{sep, mode, {}};
            for (std::string_view nom : nomsColonnes(mode)) {
                if (std::find(noms.begin(), noms.end(), nom) == noms.end())
                    e.manquantes.push_back(nom);
                else
                    ++e.presentes;
            }
            essais.push_back(std::move(e));
        }
    }

    std::vector<const Essai*> complets;
    for (const Essai& e : essais)
        if (e.manquantes.empty())
            complets.push_back(&e);
    if (complets.size() == 2 && complets[0]->separateur == complets[1]->separateur) {
        signaler("en-tête : il contient à la fois les 24 lignes d'évaluation et les 10 modalités ; "
                 "gardez l'une des deux formes.");
        return false;
    }
    if (complets.empty()) {
        const Essai* proche =
            &*std::max_element(essais.begin(), essais.end(),
                               [](const Essai& a, const Essai& b) { return a.presentes < b.presentes; });
        std::string liste;
        for (std::string_view m : proche->manquantes)
            liste += (liste.empty() ? "" : ", ") + std::string(m);
        signaler(std::string("en-tête non reconnu : il faut les colonnes ") +
                 (proche->mode == Mode::Modalites ? "des 10 modalités" : "des 24 lignes d'évaluation") +
                 " (voir --help) ; il manque : " + liste + ".");
        return false;
    }

    const Essai& choisi = *complets.front();
    separateur_ = choisi.separateur;
    mode_ = choisi.mode;
    if (lecteur.separateur() != separateur_)
        lecteur.relire(separateur_);
    lireNoms();
    nbChamps_ = noms.size();
    nomsEntete_ = noms;
    finDeLigne_ = lecteur.finDeLigne();

    // The columns this mode reads, and those it writes, once each; other
    // columns only pass through and may repeat.
    std::vector<std::string_view> calculees;
    if (mode_ == Mode::Lignes)
        for (int numero : grille::kVariablesComposees)
            calculees.push_back(grille::variable(numero).cle);
    calculees.push_back("gir");
    calculees.push_back("sous_groupe");
    const auto unique = [&](std::string_view nom) -> std::size_t {
        const auto n = std::count(noms.begin(), noms.end(), nom);
        if (n > 1) {
            signaler("en-tête : la colonne " + entreGuillemets(nom) + " apparaît " + std::to_string(n) +
                     " fois.");
            return kAucun - 1;
        }
        return n == 0 ? kAucun
                      : static_cast<std::size_t>(std::find(noms.begin(), noms.end(), nom) - noms.begin());
    };
    colonnes_.clear();
    for (std::string_view nom : nomsColonnes(mode_)) {
        const std::size_t i = unique(nom);
        if (i == kAucun - 1)
            return false;
        colonnes_.push_back({i, nom});
    }
    sorties_.clear();
    remplaces_.assign(nbChamps_, 0);
    remplacement_ = false;
    for (std::string_view nom : calculees) {
        const std::size_t i = unique(nom);
        if (i == kAucun - 1)
            return false;
        sorties_.push_back({nom, i});
        if (i != kAucun) {
            remplaces_[i] = sorties_.size();
            remplacement_ = true;
        }
    }

    if (lecteur.marqueOrdre())
        sortie_ += "\xEF\xBB\xBF";
    std::vector<std::string_view> valeurs;
    for (const Sortie& s : sorties_)
        valeurs.push_back(s.nom);
    ecrireEnregistrement(lecteur, valeurs);
    return true;
}

void ScoreurCsv::ecrireEnregistrement(const LecteurCsv& lecteur, const std::vector<std::string_view>& valeurs)
{
    const std::size_t n = lecteur.champs().size();
    if (!remplacement_ || n != nbChamps_) {
        sortie_.append(lecteur.brut());
    } else {
        for (std::size_t i = 0; i < n; ++i) {
            if (i > 0)
                sortie_ += separateur_;
            if (const std::size_t k = remplaces_[i])
                sortie_.append(valeurs.empty() ? std::string_view() : valeurs[k - 1]);
            else
                sortie_.append(lecteur.champBrut(i));
        }
    }
    for (std::size_t k = 0; k < sorties_.size(); ++k)
        if (sorties_[k].champ == kAucun) {
            sortie_ += separateur_;
            if (!valeurs.empty())
                sortie_.append(valeurs[k]);
        }
    sortie_ += finDeLigne_;
}

void ScoreurCsv::erreurLigne(const LecteurCsv& lecteur, const Signalement& signaler,
                             const std::string& message)
{
    ++lignesEnErreur_;
    signaler("ligne " + std::to_string(lecteur.ligne()) + message);
}

void ScoreurCsv::traiterEnregistrement(LecteurCsv& lecteur, const Signalement& signaler)
{
    if (lecteur.champs().size() != nbChamps_) {
        erreurLigne(lecteur, signaler,
                    " : " + std::to_string(lecteur.champs().size()) + " colonne(s) au lieu de " +
                        std::to_string(nbChamps_) + ".");
        ecrireEnregistrement(lecteur, {});
        return;
    }

    CodesModalites codes{};
    std::array<std::string_view, grille::kNbLignes> notes{};
    std::string t;
    for (std::size_t i = 0; i < colonnes_.size(); ++i) {
        const std::string_view v = lecteur.valeur(colonnes_[i].champ, t);
        const auto signalerCellule = [&](const char* attendu) {
            erreurLigne(lecteur, signaler,
                        ", colonne " + entreGuillemets(colonnes_[i].nom) +
                            (v.empty() ? std::string(" : cellule vide")
                                       : " : valeur " + entreGuillemets(apercu(v)) + " invalide") +
                            " (attendu " + attendu + ").");
            ecrireEnregistrement(lecteur, {});
        };
        if (mode_ == Mode::Modalites) {
            if (v.size() != 1 || v[0] < 'A' || v[0] > 'C')
                return signalerCellule("A, B ou C");
            codes[i] = static_cast<std::uint8_t>(v[0] - 'A');
        } else {
            const int n = lireCelluleLigne(v);
            if (n == -2)
                return signalerCellule("F, ou N suivi des adverbes non remplis parmi S, T, C, H");
            notes[i] = noteLigne(n == -1, std::max(n, 0));
        }
    }

    std::vector<std::string_view>& valeurs = valeurs_;
    valeurs.clear();
    if (mode_ == Mode::Lignes) {
        std::array<std::string_view, grille::kNbVariables + 1> parVariable{};
        for (int numero : grille::kVariablesComposees) {
            const VariableAggir& v = grille::variable(numero);
            parVariable[static_cast<std::size_t>(numero)] =
                combinerNotes(v.regle, std::span(notes).subspan(v.premiereLigne, v.nbLignes));
            valeurs.push_back(parVariable[static_cast<std::size_t>(numero)]);
        }
        for (std::size_t r = 0; r < codes.size(); ++r) {
            const VariableAggir& v = grille::variable(grille::kVariablesPonderees[r]);
            const std::string_view n =
                v.composee() ? parVariable[static_cast<std::size_t>(v.numero)] : notes[v.premiereLigne];
            codes[r] = static_cast<std::uint8_t>(n[0] - 'A');
        }
    }

    const std::uint8_t code = table_.code(TableGir::index(codes));
    if (code == 0) {
        erreurLigne(lecteur, signaler, " : un score de groupe dépasse la capacité d'un entier 32 bits.");
        ecrireEnregistrement(lecteur, {});
        return;
    }
    static constexpr std::string_view kChiffres[] = {"0", "1", "2", "3", "4", "5", "6"};
    static constexpr std::string_view kSousGroupes[] = {"", "A", "B", "C"};
    const int gir = TableGir::gir(code);
    const char sg = TableGir::sousGroupe(code);
    valeurs.push_back(kChiffres[gir]);
    valeurs.push_back(kSousGroupes[sg ? sg - 'A' + 1 : 0]);
    ++parGir_[static_cast<std::size_t>(gir)];
    ecrireEnregistrement(lecteur, valeurs);
}

int ScoreurCsv::traiter(const Lecture& lire, const Ecriture& ecrire, const Signalement& signaler)
{
    ecrire_ = ecrire;
    sortie_.clear();
    lignesEnErreur_ = 0;
    parGir_ = {};

    LecteurCsv lecteur(lire);
    lecteur.demarrer();
    if (!lireEntete(lecteur, signaler))
        return 2;
    for (;;) {
        const LecteurCsv::Issue issue = lecteur.suivant();
        if (issue == LecteurCsv::Issue::Fin)
            break;
        if (issue == LecteurCsv::Issue::GuillemetNonFerme) {
            const std::size_t col = lecteur.colonne();
            erreurLigne(
                lecteur, signaler,
                ", colonne " +
                    (col < nomsEntete_.size() ? entreGuillemets(nomsEntete_[col]) : std::to_string(col + 1)) +
                    " : un guillemet ouvert n'est jamais fermé (début de la ligne : " +
                    entreGuillemets(apercu(lecteur.brut())) + ") ; la lecture reprend à la ligne suivante.");
            ecrireEnregistrement(lecteur, {});
        } else if (issue == LecteurCsv::Issue::LigneTropLongue) {
            erreurLigne(lecteur, signaler,
                        " : ligne de plus de " + std::to_string(LecteurCsv::kLigneMax) +
                            " octets, ignorée (début : " + entreGuillemets(apercu(lecteur.brut())) + ").");
        } else if (!lecteur.vide()) {
            traiterEnregistrement(lecteur, signaler);
        }
        if (sortie_.size() >= kSeuilEcriture) {
            ecrire_(sortie_);
            sortie_.clear();
        }
    }
    if (!sortie_.empty())
        ecrire_(sortie_);
    sortie_.clear();
    return lignesEnErreur_ == 0 ? 0 : 2;
}

} // namespace pavonis
