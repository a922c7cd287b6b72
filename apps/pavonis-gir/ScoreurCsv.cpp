#include "ScoreurCsv.h"

#include "Composition.h"
#include "GrilleAggir.h"
#include "RegleLigne.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace pavonis {

namespace {

constexpr std::size_t kTailleLecture = 1 << 20;
constexpr std::size_t kSeuilEcriture = 1 << 20;

std::string_view rogner(std::string_view v)
{
    while (!v.empty() && (v.front() == ' ' || v.front() == '\t'))
        v.remove_prefix(1);
    while (!v.empty() && (v.back() == ' ' || v.back() == '\t'))
        v.remove_suffix(1);
    return v;
}

std::string entreGuillemets(std::string_view v)
{
    std::string r = "\"";
    r.append(v);
    r += '"';
    return r;
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
        const char* p = std::strchr("STCH", c);
        if (c == '\0' || !p)
            return -2;
        const unsigned bit = 1u << (p - "STCH");
        if (vues & bit)
            return -2;
        vues |= bit;
    }
    return static_cast<int>(v.size() - 1);
}

} // namespace

ScoreurCsv::ScoreurCsv(const TableGir& table) : table_(table) {}

bool ScoreurCsv::remplir()
{
    if (finEntree_)
        return false;
    if (debut_ > 0) {
        tampon_.erase(0, debut_);
        fin_ -= debut_;
        debut_ = 0;
    }
    if (tampon_.size() < fin_ + kTailleLecture)
        tampon_.resize(fin_ + kTailleLecture);
    const std::size_t n = lire_(tampon_.data() + fin_, kTailleLecture);
    if (n == 0) {
        finEntree_ = true;
        return false;
    }
    fin_ += n;
    return true;
}

bool ScoreurCsv::enregistrementSuivant()
{
    for (;;) {
        champs_.clear();
        std::size_t p = debut_;
        std::size_t sautsDeLigne = 0;
        bool complet = false;
        bool incomplet = false;
        while (!complet && !incomplet) {
            const std::size_t debutChamp = p;
            if (p < fin_ && tampon_[p] == '"') {
                // Quoted field: up to the closing quote; "" is a quote.
                ++p;
                for (;;) {
                    const char* q = static_cast<const char*>(
                        std::memchr(tampon_.data() + p, '"', fin_ - p));
                    if (!q) {
                        if (finEntree_) {
                            // Unterminated quote: the field runs to the end.
                            p = fin_;
                            break;
                        }
                        incomplet = true;
                        break;
                    }
                    const auto pos = static_cast<std::size_t>(q - tampon_.data());
                    sautsDeLigne += static_cast<std::size_t>(
                        std::count(tampon_.begin() + static_cast<std::ptrdiff_t>(p),
                                   tampon_.begin() + static_cast<std::ptrdiff_t>(pos), '\n'));
                    if (pos + 1 >= fin_ && !finEntree_) {
                        incomplet = true; // cannot tell "" from the end yet
                        break;
                    }
                    if (pos + 1 < fin_ && tampon_[pos + 1] == '"') {
                        p = pos + 2;
                        continue;
                    }
                    p = pos + 1;
                    break;
                }
                if (incomplet)
                    break;
            }
            while (p < fin_ && tampon_[p] != separateur_ && tampon_[p] != '\n')
                ++p;
            if (p == fin_) {
                if (!finEntree_) {
                    incomplet = true;
                    break;
                }
                champs_.push_back({debutChamp, p});
                complet = true;
                finEnregistrement_ = p;
                debut_ = p;
            } else if (tampon_[p] == separateur_) {
                champs_.push_back({debutChamp, p});
                ++p;
            } else {
                champs_.push_back({debutChamp, p});
                complet = true;
                finEnregistrement_ = p;
                debut_ = p + 1;
            }
        }
        if (incomplet) {
            remplir();
            continue; // split again with more bytes, or knowing the input ended
        }
        if (finEnregistrement_ > 0 && finEnregistrement_ > champs_.front().debut &&
            tampon_[finEnregistrement_ - 1] == '\r') {
            --finEnregistrement_;
            champs_.back().fin = std::min(champs_.back().fin, finEnregistrement_);
        }
        ligne_ = lignesPhysiques_ + 1;
        lignesPhysiques_ += 1 + sautsDeLigne;
        const bool vide = finEnregistrement_ == champs_.front().debut;
        if (vide && debut_ >= fin_ && finEntree_ && champs_.size() == 1)
            return false; // nothing after the last line end
        return true;
    }
}

std::string_view ScoreurCsv::valeur(const Champ& c, std::string& tampon) const
{
    std::string_view brut(tampon_.data() + c.debut, c.fin - c.debut);
    brut = rogner(brut);
    if (brut.size() >= 2 && brut.front() == '"' && brut.back() == '"') {
        tampon.clear();
        for (std::size_t i = 1; i + 1 < brut.size(); ++i) {
            tampon += brut[i];
            if (brut[i] == '"' && brut[i + 1] == '"')
                ++i;
        }
        return rogner(tampon);
    }
    return brut;
}

bool ScoreurCsv::lireEntete(const Signalement& signaler)
{
    // A byte-order mark is kept in the output but is not part of the first name.
    while (fin_ < 3 && remplir()) {
    }
    std::size_t bom = 0;
    if (fin_ >= 3 && std::memcmp(tampon_.data(), "\xEF\xBB\xBF", 3) == 0)
        bom = 3;

    struct Essai {
        char separateur;
        Mode mode;
        std::vector<Colonne> colonnes;
        std::vector<std::string_view> manquantes;
        std::size_t nbChamps;
    };
    std::vector<Essai> essais;
    const std::size_t depart = debut_;
    std::vector<std::string> noms;
    for (char sep : {';', ','}) {
        separateur_ = sep;
        debut_ = depart;
        lignesPhysiques_ = 0;
        if (!enregistrementSuivant()) {
            signaler("entrée vide : la ligne d'en-tête manque.");
            return false;
        }
        champs_.front().debut += bom;
        noms.clear();
        std::string t;
        for (const Champ& c : champs_)
            noms.emplace_back(valeur(c, t));
        for (Mode mode : {Mode::Lignes, Mode::Modalites}) {
            Essai e{sep, mode, {}, {}, champs_.size()};
            for (std::string_view nom : nomsColonnes(mode)) {
                const auto n = std::count(noms.begin(), noms.end(), nom);
                if (n == 0)
                    e.manquantes.push_back(nom);
                else if (n > 1) {
                    signaler("en-tête : la colonne " + entreGuillemets(nom) + " apparaît " +
                             std::to_string(n) + " fois.");
                    return false;
                } else
                    e.colonnes.push_back(
                        {static_cast<std::size_t>(std::find(noms.begin(), noms.end(), nom) - noms.begin()), nom});
            }
            essais.push_back(std::move(e));
        }
        champs_.front().debut -= bom;
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
        const Essai* proche = &*std::max_element(essais.begin(), essais.end(), [](const Essai& a, const Essai& b) {
            return a.colonnes.size() < b.colonnes.size();
        });
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
    colonnes_ = choisi.colonnes;
    nbChamps_ = choisi.nbChamps;
    debut_ = depart;
    lignesPhysiques_ = 0;
    enregistrementSuivant();
    finDeLigne_ = (debut_ > 0 && debut_ - 1 > finEnregistrement_) ? "\r\n" : "\n";

    sortie_.append(tampon_, champs_.front().debut, finEnregistrement_ - champs_.front().debut);
    if (mode_ == Mode::Lignes)
        for (int numero : grille::kVariablesComposees) {
            sortie_ += separateur_;
            sortie_ += grille::variable(numero).cle;
        }
    sortie_ += separateur_;
    sortie_ += "gir";
    sortie_ += separateur_;
    sortie_ += "sous_groupe";
    sortie_ += finDeLigne_;
    return true;
}

void ScoreurCsv::erreurLigne(const Signalement& signaler, const std::string& message)
{
    signaler("ligne " + std::to_string(ligne_) + message);
}

void ScoreurCsv::traiterEnregistrement(const Signalement& signaler)
{
    const std::size_t debutLigne = champs_.front().debut;
    sortie_.append(tampon_.data() + debutLigne, finEnregistrement_ - debutLigne);

    bool valide = champs_.size() == nbChamps_;
    if (!valide)
        erreurLigne(signaler, " : " + std::to_string(champs_.size()) + " colonne(s) au lieu de " +
                                  std::to_string(nbChamps_) + ".");

    CodesModalites codes{};
    std::array<std::string_view, grille::kNbLignes> notes{};
    std::array<std::string_view, grille::kVariablesComposees.size()> composees{};
    std::string t;
    for (std::size_t i = 0; valide && i < colonnes_.size(); ++i) {
        const std::string_view v = valeur(champs_[colonnes_[i].champ], t);
        const auto signalerCellule = [&](const char* attendu) {
            erreurLigne(signaler, ", colonne " + entreGuillemets(colonnes_[i].nom) +
                                      (v.empty() ? std::string(" : cellule vide")
                                                 : " : valeur " + entreGuillemets(v) + " invalide") +
                                      " (attendu " + attendu + ").");
            valide = false;
        };
        if (mode_ == Mode::Modalites) {
            if (v.size() == 1 && v[0] >= 'A' && v[0] <= 'C')
                codes[i] = static_cast<std::uint8_t>(v[0] - 'A');
            else
                signalerCellule("A, B ou C");
        } else {
            const int n = lireCelluleLigne(v);
            if (n == -2)
                signalerCellule("F, ou N suivi des adverbes non remplis parmi S, T, C, H");
            else
                notes[i] = noteLigne(n == -1, std::max(n, 0));
        }
    }

    if (valide && mode_ == Mode::Lignes) {
        for (std::size_t k = 0; k < grille::kVariablesComposees.size(); ++k) {
            const VariableAggir& v = grille::variable(grille::kVariablesComposees[k]);
            composees[k] = combinerNotes(v.regle, std::span(notes).subspan(v.premiereLigne, v.nbLignes));
        }
        for (std::size_t r = 0; r < codes.size(); ++r) {
            const VariableAggir& v = grille::variable(grille::kVariablesPonderees[r]);
            std::string_view n = notes[v.premiereLigne];
            if (v.composee())
                n = composees[static_cast<std::size_t>(
                    std::find(grille::kVariablesComposees.begin(), grille::kVariablesComposees.end(), v.numero) -
                    grille::kVariablesComposees.begin())];
            codes[r] = static_cast<std::uint8_t>(n[0] - 'A');
        }
    }
    if (mode_ == Mode::Lignes)
        for (std::string_view c : composees) {
            sortie_ += separateur_;
            sortie_ += c;
        }

    std::uint8_t code = 0;
    if (valide) {
        code = table_.code(TableGir::index(codes));
        if (code == 0) {
            erreurLigne(signaler, " : un score de groupe dépasse la capacité d'un entier 32 bits.");
            valide = false;
        }
    }
    sortie_ += separateur_;
    if (valide) {
        sortie_ += static_cast<char>('0' + TableGir::gir(code));
        sortie_ += separateur_;
        if (const char sg = TableGir::sousGroupe(code))
            sortie_ += sg;
    } else {
        sortie_ += separateur_;
        ++lignesEnErreur_;
    }
    sortie_ += finDeLigne_;
}

int ScoreurCsv::traiter(const Lecture& lire, const Ecriture& ecrire, const Signalement& signaler)
{
    lire_ = lire;
    ecrire_ = ecrire;
    tampon_.clear();
    sortie_.clear();
    debut_ = fin_ = 0;
    finEntree_ = false;
    lignesEnErreur_ = 0;
    lignesPhysiques_ = 0;

    if (!lireEntete(signaler))
        return 2;
    while (enregistrementSuivant()) {
        if (finEnregistrement_ == champs_.front().debut && champs_.size() == 1)
            continue; // blank line
        traiterEnregistrement(signaler);
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
