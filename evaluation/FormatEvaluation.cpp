#include <pavonis/evaluation/FormatEvaluation.h>

#include "TexteJson.h"
#include <pavonis/engine/GrilleAggir.h>

#include <pavonis/hostapi/Erreur.h>

#include <algorithm>
#include <bit>
#include <bitset>
#include <cstdint>
#include <cstring>
#include <forward_list>

namespace pavonis {

namespace {

constexpr std::string_view kFormat = "pavonis-evaluation";
constexpr int kVersion = 1;
constexpr std::string_view kLettres = "STCH";

std::string_view texteChoix(Choix c)
{
    switch (c) {
    case Choix::Fait:
        return "fait";
    case Choix::NeFaitPas:
        return "ne-fait-pas";
    case Choix::Aucun:
        break;
    }
    return "aucun";
}

std::string lettre(char c)
{
    return c ? std::string(1, c) : std::string("null");
}

// ---------------------------------------------------------------- writing

class Ecrivain {
public:
    explicit Ecrivain(bool surUneLigne) : compact_(surUneLigne) {}

    void ouvrir(char c)
    {
        s += c;
        ++niveau_;
        premier_ = true;
    }
    void fermer(char c)
    {
        --niveau_;
        if (!premier_)
            nouvelleLigne();
        s += c;
        premier_ = false;
    }
    void cle(std::string_view nom)
    {
        if (!premier_)
            s += ',';
        nouvelleLigne();
        premier_ = false;
        json::ajouterTexte(s, nom);
        s += compact_ ? ":" : ": ";
    }
    // A small object or array, kept on one line when indented.
    void enLigne(std::string_view morceau) { s += morceau; }

    std::string s;

private:
    void nouvelleLigne()
    {
        if (compact_)
            return;
        s += '\n';
        s.append(static_cast<std::size_t>(2 * niveau_), ' ');
    }
    bool compact_;
    int niveau_ = 0;
    bool premier_ = true;
};

// ---------------------------------------------------------------- reading

// A fixed run of bytes, compared eight at a time: the names and values of
// the compact form.
class Motif {
public:
    static constexpr std::size_t kMots = 6;

    Motif() = default;
    explicit Motif(std::string_view t) : n_(t.size()), long_(t.size() > kMots * 8), texte_(t)
    {
        char octets[kMots * 8] = {};
        char masques[kMots * 8] = {};
        std::memcpy(octets, t.data(), std::min(t.size(), sizeof octets));
        std::memset(masques, 0xFF, std::min(t.size(), sizeof masques));
        std::memcpy(mots_.data(), octets, sizeof octets);
        std::memcpy(masques_.data(), masques, sizeof masques);
    }
    std::size_t taille() const { return n_; }
    // Eight bytes at a time over the whole motif, without a branch.
    bool egal(const char* p, std::size_t disponibles) const
    {
        if (long_ || disponibles < kMots * 8)
            return disponibles >= n_ && std::memcmp(p, texte_.data(), n_) == 0;
        std::uint64_t difference = 0;
        for (std::size_t i = 0; i < kMots; ++i) {
            std::uint64_t v;
            std::memcpy(&v, p + 8 * i, 8);
            difference |= (v ^ mots_[i]) & masques_[i];
        }
        return difference == 0;
    }

private:
    std::array<std::uint64_t, kMots> mots_{};
    std::array<std::uint64_t, kMots> masques_{};
    std::size_t n_ = 0;
    bool long_ = false;
    std::string texte_;
};

class Analyseur {
public:
    explicit Analyseur(std::string_view json) : p_(json.data()), fin_(json.data() + json.size()) {}

    [[noreturn]] void erreur(const std::string& message) const
    {
        std::string chemin;
        for (std::size_t i = 0; i < profondeur_; ++i) {
            chemin += '/';
            chemin += chemin_[i];
        }
        throw Erreur(Erreur::Code::Saisie, (chemin.empty() ? "/" : chemin) + " : " + message);
    }

    void blancs()
    {
        while (p_ < fin_ && static_cast<unsigned char>(*p_) <= ' ' &&
               (*p_ == ' ' || *p_ == '\n' || *p_ == '\r' || *p_ == '\t'))
            ++p_;
    }
    bool voir(char c)
    {
        blancs();
        return p_ < fin_ && *p_ == c;
    }
    void attendre(char c, const char* quoi)
    {
        blancs();
        if (p_ >= fin_ || *p_ != c)
            erreur(std::string(quoi) + (p_ >= fin_ ? " attendu, le texte s'arrête"
                                                   : " attendu, « " + std::string(1, *p_) + " » trouvé"));
        ++p_;
    }

    // A string, escapes decoded. Its UTF-8 is checked where it is kept
    // (texteUtf8); names and codes are compared with ASCII words.
    std::string_view texte()
    {
        blancs();
        if (p_ >= fin_ || *p_ != '"')
            erreur("texte attendu");
        ++p_;
        const char* debut = p_;
        // Fast path, eight bytes at a time: up to a quote, a backslash or a
        // control character.
        while (fin_ - p_ >= 8) {
            std::uint64_t v;
            std::memcpy(&v, p_, 8);
            constexpr std::uint64_t kUns = 0x0101010101010101ull, kHauts = 0x8080808080808080ull;
            const auto zero = [&](std::uint64_t x) { return (x - kUns) & ~x & kHauts; };
            const std::uint64_t speciaux =
                zero(v ^ (kUns * '"')) | zero(v ^ (kUns * '\\')) | ((v - kUns * 0x20) & ~v & kHauts);
            if (speciaux) {
                p_ += std::countr_zero(speciaux) / 8;
                break;
            }
            p_ += 8;
        }
        while (p_ < fin_ && *p_ != '"' && *p_ != '\\' && static_cast<unsigned char>(*p_) >= 0x20)
            ++p_;
        if (p_ < fin_ && *p_ == '"') {
            const std::string_view t(debut, static_cast<std::size_t>(p_ - debut));
            ++p_;
            return t;
        }
        tampon_.assign(debut, static_cast<std::size_t>(p_ - debut));
        for (;;) {
            if (p_ >= fin_)
                erreur("texte non terminé");
            const char c = *p_++;
            if (c == '"')
                break;
            if (static_cast<unsigned char>(c) < 0x20)
                erreur("caractère de contrôle dans un texte");
            if (c != '\\') {
                tampon_ += c;
                continue;
            }
            if (p_ >= fin_)
                erreur("texte non terminé");
            switch (const char e = *p_++) {
            case '"':
            case '\\':
            case '/':
                tampon_ += e;
                break;
            case 'b':
                tampon_ += '\b';
                break;
            case 'f':
                tampon_ += '\f';
                break;
            case 'n':
                tampon_ += '\n';
                break;
            case 'r':
                tampon_ += '\r';
                break;
            case 't':
                tampon_ += '\t';
                break;
            case 'u': {
                char32_t u = hex4();
                if (u >= 0xD800 && u <= 0xDBFF) {
                    if (fin_ - p_ < 6 || p_[0] != '\\' || p_[1] != 'u')
                        erreur("demi-caractère UTF-16 sans sa seconde moitié");
                    p_ += 2;
                    const char32_t bas = hex4();
                    if (bas < 0xDC00 || bas > 0xDFFF)
                        erreur("demi-caractère UTF-16 sans sa seconde moitié");
                    u = 0x10000 + ((u - 0xD800) << 10) + (bas - 0xDC00);
                } else if (u >= 0xDC00 && u <= 0xDFFF) {
                    erreur("demi-caractère UTF-16 isolé");
                }
                ajouterUtf8(u);
                break;
            }
            default:
                erreur(std::string("échappement « \\") + e + " » inconnu");
            }
        }
        return tampon_;
    }

    std::string_view texteUtf8()
    {
        const std::string_view t = texte();
        verifierUtf8(t);
        return t;
    }

    int entier()
    {
        blancs();
        const char* debut = p_;
        if (p_ < fin_ && *p_ == '-')
            ++p_;
        long v = 0;
        const char* chiffres = p_;
        while (p_ < fin_ && *p_ >= '0' && *p_ <= '9' && p_ - chiffres < 9)
            v = v * 10 + (*p_++ - '0');
        if (p_ == chiffres || (p_ - chiffres > 1 && *chiffres == '0') ||
            (p_ < fin_ && (*p_ == '.' || *p_ == 'e' || *p_ == 'E' || (*p_ >= '0' && *p_ <= '9'))))
            erreur("nombre entier attendu");
        return static_cast<int>(*debut == '-' ? -v : v);
    }

    bool nul()
    {
        blancs();
        if (fin_ - p_ >= 4 && std::memcmp(p_, "null", 4) == 0) {
            p_ += 4;
            return true;
        }
        return false;
    }

    // The members of an object, each handed to `membre` with its name on
    // the path; a name seen twice is an error.
    template <class F> void objet(F&& membre)
    {
        attendre('{', "objet");
        if (voir('}')) {
            ++p_;
            return;
        }
        for (;;) {
            std::string_view nom = texte();
            if (nom.data() == tampon_.data()) // decoded: kept, the buffer is reused
                nom = cles_.emplace_front(nom);
            attendre(':', "« : »");
            entrer(nom);
            membre(nom);
            --profondeur_;
            blancs();
            if (p_ < fin_ && *p_ == ',') {
                ++p_;
                continue;
            }
            attendre('}', "« , » ou « } »");
            return;
        }
    }

    template <class F> void tableau(F&& element)
    {
        attendre('[', "tableau");
        if (voir(']')) {
            ++p_;
            return;
        }
        static constexpr std::string_view kIndices[] = {"0", "1", "2", "3", "4", "5", "6", "7"};
        for (std::size_t i = 0;; ++i) {
            entrer(i < std::size(kIndices) ? kIndices[i]
                                           : std::string_view(cles_.emplace_front(std::to_string(i))));
            element(i);
            --profondeur_;
            blancs();
            if (p_ < fin_ && *p_ == ',') {
                ++p_;
                continue;
            }
            attendre(']', "« , » ou « ] »");
            return;
        }
    }

    // The exact bytes of `motif` next: consumed. For the compact form that
    // this library writes, read without the general path.
    bool correspond(std::string_view motif)
    {
        const std::size_t n = motif.size();
        if (static_cast<std::size_t>(fin_ - p_) < n)
            return false;
        // Word by word: the motifs are short, a call to memcmp costs more.
        std::size_t i = 0;
        for (; i + 8 <= n; i += 8) {
            std::uint64_t a, b;
            std::memcpy(&a, p_ + i, 8);
            std::memcpy(&b, motif.data() + i, 8);
            if (a != b)
                return false;
        }
        for (; i < n; ++i)
            if (p_[i] != motif[i])
                return false;
        p_ += n;
        return true;
    }
    bool correspond(const Motif& m)
    {
        if (!m.egal(p_, static_cast<std::size_t>(fin_ - p_)))
            return false;
        p_ += m.taille();
        return true;
    }
    bool correspond(char c)
    {
        if (p_ >= fin_ || *p_ != c)
            return false;
        ++p_;
        return true;
    }
    // The next byte, or 0 at the end.
    char suivant() const { return p_ < fin_ ? *p_ : '\0'; }
    const char* position() const { return p_; }
    void revenir(const char* p) { p_ = p; }

    void finTexte()
    {
        blancs();
        if (p_ != fin_)
            erreur("du texte suit l'évaluation");
    }

    // Adds a step to the path of the value being read.
    void entrer(std::string_view pas)
    {
        if (profondeur_ == chemin_.size())
            erreur("imbrication trop profonde");
        chemin_[profondeur_++] = pas;
    }

private:
    char32_t hex4()
    {
        if (fin_ - p_ < 4)
            erreur("échappement \\u incomplet");
        char32_t u = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = *p_++;
            u <<= 4;
            if (c >= '0' && c <= '9')
                u |= static_cast<char32_t>(c - '0');
            else if (c >= 'a' && c <= 'f')
                u |= static_cast<char32_t>(c - 'a' + 10);
            else if (c >= 'A' && c <= 'F')
                u |= static_cast<char32_t>(c - 'A' + 10);
            else
                erreur("échappement \\u incomplet");
        }
        return u;
    }
    void ajouterUtf8(char32_t u)
    {
        if (u < 0x80) {
            tampon_ += static_cast<char>(u);
        } else if (u < 0x800) {
            tampon_ += static_cast<char>(0xC0 | (u >> 6));
            tampon_ += static_cast<char>(0x80 | (u & 0x3F));
        } else if (u < 0x10000) {
            tampon_ += static_cast<char>(0xE0 | (u >> 12));
            tampon_ += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
            tampon_ += static_cast<char>(0x80 | (u & 0x3F));
        } else {
            tampon_ += static_cast<char>(0xF0 | (u >> 18));
            tampon_ += static_cast<char>(0x80 | ((u >> 12) & 0x3F));
            tampon_ += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
            tampon_ += static_cast<char>(0x80 | (u & 0x3F));
        }
    }
    void verifierUtf8(std::string_view t) const
    {
        for (std::size_t i = 0; i < t.size();) {
            const auto c = static_cast<unsigned char>(t[i]);
            if (c < 0x80) {
                ++i;
                continue;
            }
            const std::size_t n = c >= 0xF0 && c <= 0xF4  ? 3
                                  : c >= 0xE0 && c < 0xF0 ? 2
                                  : c >= 0xC2 && c < 0xE0 ? 1
                                                          : 0;
            if (n == 0 || i + n >= t.size())
                erreur("texte qui n'est pas en UTF-8");
            char32_t u = c & (n == 1 ? 0x1F : n == 2 ? 0x0F : 0x07);
            for (std::size_t k = 1; k <= n; ++k) {
                const auto s = static_cast<unsigned char>(t[i + k]);
                if ((s & 0xC0) != 0x80)
                    erreur("texte qui n'est pas en UTF-8");
                u = (u << 6) | (s & 0x3F);
            }
            if ((n == 2 && (u < 0x800 || (u >= 0xD800 && u <= 0xDFFF))) ||
                (n == 3 && (u < 0x10000 || u > 0x10FFFF)))
                erreur("texte qui n'est pas en UTF-8");
            i += n + 1;
        }
    }

    const char* p_;
    const char* fin_;
    std::string tampon_;
    std::array<std::string_view, 8> chemin_{};
    std::size_t profondeur_ = 0;
    std::forward_list<std::string> cles_; // names that had escapes, decoded
};

char lireModalite(Analyseur& a)
{
    const std::string_view v = a.texte();
    if (v.size() != 1 || v[0] < 'A' || v[0] > 'C')
        a.erreur("modalité « " + std::string(v) + " » inconnue (attendu A, B ou C)");
    return v[0];
}

ReponseLigne lireReponseLigne(Analyseur& a)
{
    ReponseLigne r;
    bool choix = false, adverbes = false;
    a.objet([&](std::string_view nom) {
        if (nom == "choix") {
            if (choix)
                a.erreur("membre en double");
            choix = true;
            const std::string_view v = a.texte();
            if (v == "fait")
                r.choix = Choix::Fait;
            else if (v == "ne-fait-pas")
                r.choix = Choix::NeFaitPas;
            else if (v == "aucun")
                r.choix = Choix::Aucun;
            else
                a.erreur("choix « " + std::string(v) + " » inconnu (attendu fait, ne-fait-pas ou aucun)");
        } else if (nom == "adverbes") {
            if (adverbes)
                a.erreur("membre en double");
            adverbes = true;
            int n = 0;
            a.tableau([&](std::size_t) {
                const std::string_view v = a.texte();
                const std::size_t k = v.size() == 1 ? kLettres.find(v[0]) : std::string_view::npos;
                if (k == std::string_view::npos)
                    a.erreur("adverbe « " + std::string(v) + " » inconnu (attendu S, T, C ou H)");
                if (r.adverbes[k])
                    a.erreur("adverbe « " + std::string(v) + " » en double");
                r.adverbes[k] = true;
                if (++n == 4)
                    a.erreur(
                        "quatrième adverbe : une ligne n'a jamais ses quatre adverbes cochés (la quatrième "
                        "coche vide la ligne)");
            });
        } else {
            a.erreur("membre inconnu (attendu choix, adverbes)");
        }
    });
    if (!choix) {
        a.entrer("choix");
        a.erreur("membre manquant");
    }
    if (r.choix == Choix::Fait && std::find(r.adverbes.begin(), r.adverbes.end(), true) != r.adverbes.end()) {
        a.entrer("adverbes");
        a.erreur("des adverbes sont cochés alors que la personne « fait » (l'écran les décoche)");
    }
    return r;
}

// The members of `noms`, each once; `lire` reads the value of member i.
// `rapide`, tried first on each member, reads member i in the compact form
// and returns false, having read nothing, when the text is in another form.
template <std::size_t N, class F, class R>
void objetComplet(Analyseur& a, const std::array<std::string_view, N>& noms, const char* quoi, F&& lire,
                  R&& rapide)
{
    std::bitset<N> vus;
    std::size_t attendu = 0; // members usually come in order
    // The compact form, member after member in order, as long as it lasts.
    if (a.voir('{')) {
        const char* debut = a.position();
        a.revenir(debut + 1);
        bool premier = true;
        while (attendu < N && (premier || a.correspond(',')) && rapide(attendu)) {
            vus[attendu++] = true;
            premier = false;
        }
        if (attendu == N && a.correspond('}'))
            return;
        // Anything else: read again from the start, in full.
        vus.reset();
        attendu = 0;
        a.revenir(debut);
    }
    a.objet([&](std::string_view nom) {
        std::size_t i =
            attendu < N && noms[attendu] == nom
                ? attendu
                : static_cast<std::size_t>(std::find(noms.begin(), noms.end(), nom) - noms.begin());
        if (i == N)
            a.erreur(std::string(quoi) + " inconnue");
        if (vus[i])
            a.erreur("membre en double");
        vus[i] = true;
        attendu = i + 1;
        lire(i);
    });
    for (std::size_t i = 0; i < N; ++i)
        if (!vus[i])
            a.erreur("il manque « " + std::string(noms[i]) + " »");
}

template <std::size_t N, class F>
void objetComplet(Analyseur& a, const std::array<std::string_view, N>& noms, const char* quoi, F&& lire)
{
    objetComplet(a, noms, quoi, lire, [](std::size_t) { return false; });
}

// `"<name>":` as the compact form writes it, with what follows.
template <std::size_t N>
std::array<Motif, N> prefixes(const std::array<std::string_view, N>& noms, std::string_view suite)
{
    std::array<Motif, N> p;
    for (std::size_t i = 0; i < N; ++i)
        p[i] = Motif('"' + std::string(noms[i]) + "\":" + std::string(suite));
    return p;
}

const Motif kFait("fait\"}");
const Motif kAucun("aucun\"}");
const Motif kNeFaitPas("ne-fait-pas\"");
const Motif kAdverbes(",\"adverbes\":[");

// A row in the compact form: {"choix":"fait"}, {"choix":"ne-fait-pas","adverbes":["S","T"]}...
struct MotifsLigne {
    Motif prefixe, fait, neFaitPas; // the row's member up to its choice; the two usual whole members
};
bool ligneCompacte(Analyseur& a, const MotifsLigne& motifs, ReponseLigne& r)
{
    // The two usual rows in one comparison each.
    if (a.correspond(motifs.fait)) {
        r = {Choix::Fait, {}};
        return true;
    }
    if (a.correspond(motifs.neFaitPas)) {
        r = {Choix::NeFaitPas, {}};
        return true;
    }
    const char* debut = a.position();
    if (!a.correspond(motifs.prefixe))
        return false;
    r = {};
    switch (a.suivant()) {
    case 'f':
        if (a.correspond(kFait)) {
            r.choix = Choix::Fait;
            return true;
        }
        break;
    case 'a':
        if (a.correspond(kAucun))
            return true;
        break;
    case 'n':
        if (!a.correspond(kNeFaitPas))
            break;
        r.choix = Choix::NeFaitPas;
        if (a.correspond('}'))
            return true;
        if (a.correspond(kAdverbes)) {
            int n = 0;
            for (bool premier = true;; premier = false) {
                if (!premier && a.correspond(std::string_view("]}")))
                    return n < 4 || (a.revenir(debut), false);
                if (!premier && !a.correspond(','))
                    break;
                const char* lettre = a.position();
                if (!a.correspond('"') || !a.correspond(a.suivant()) || !a.correspond('"'))
                    break;
                const std::size_t k = kLettres.find(lettre[1]);
                if (k == std::string_view::npos || r.adverbes[k])
                    break;
                r.adverbes[k] = true;
                ++n;
            }
        }
        break;
    default:
        break;
    }
    a.revenir(debut);
    return false;
}

bool modaliteCompacte(Analyseur& a, const Motif& prefixe, char& m)
{
    const char* debut = a.position();
    if (a.correspond(prefixe)) {
        const char c = a.suivant();
        if (c >= 'A' && c <= 'C' && a.correspond(c) && a.correspond('"')) {
            m = c;
            return true;
        }
    }
    a.revenir(debut);
    return false;
}

const std::array<std::string_view, grille::kNbLignes>& clesLignes()
{
    static const auto cles = [] {
        std::array<std::string_view, grille::kNbLignes> c{};
        for (std::size_t i = 0; i < c.size(); ++i)
            c[i] = grille::kLignes[i].cle;
        return c;
    }();
    return cles;
}

const std::array<std::string_view, ResultatsEvaluation::kNbComposees>& clesComposees()
{
    static const auto cles = [] {
        std::array<std::string_view, ResultatsEvaluation::kNbComposees> c{};
        for (std::size_t i = 0; i < c.size(); ++i)
            c[i] = ResultatsEvaluation::cleComposee(i);
        return c;
    }();
    return cles;
}

ResultatsEvaluation lireResultats(Analyseur& a)
{
    ResultatsEvaluation r;
    static constexpr std::array<std::string_view, 4> kMembres{"lignes", "composees", "gir", "sous_groupe"};
    objetComplet(a, kMembres, "membre", [&](std::size_t m) {
        switch (m) {
        case 0: {
            static const auto prefixe = prefixes(clesLignes(), "\"");
            objetComplet(
                a, clesLignes(), "ligne", [&](std::size_t i) { r.notesLignes[i] = lireModalite(a); },
                [&](std::size_t i) { return modaliteCompacte(a, prefixe[i], r.notesLignes[i]); });
            break;
        }
        case 1: {
            static const auto prefixe = prefixes(clesComposees(), "\"");
            objetComplet(
                a, clesComposees(), "variable composée",
                [&](std::size_t i) { r.notesComposees[i] = lireModalite(a); },
                [&](std::size_t i) { return modaliteCompacte(a, prefixe[i], r.notesComposees[i]); });
            break;
        }
        case 2:
            r.gir = a.entier();
            if (r.gir < 1 || r.gir > 6)
                a.erreur("GIR " + std::to_string(r.gir) + " hors de 1 à 6");
            break;
        default:
            r.sousGroupe = a.nul() ? '\0' : lireModalite(a);
            break;
        }
    });
    if (((r.gir == 5 || r.gir == 6) != (r.sousGroupe != '\0'))) {
        a.entrer("sous_groupe");
        a.erreur("un sous-groupe accompagne les GIR 5 et 6, et eux seuls");
    }
    return r;
}

// The whole evaluation in the compact form this library writes, members in
// their order; false, having read nothing, when the text is in another form
// (the general reader then reads it, and names its faults).
bool lireCompacte(Analyseur& a, FormatEvaluation::Lecture& l)
{
    static const auto prefixeLigne = [] {
        std::array<MotifsLigne, grille::kNbLignes> m;
        const auto prefixe = prefixes(clesLignes(), "{\"choix\":\"");
        const auto fait = prefixes(clesLignes(), "{\"choix\":\"fait\"}");
        const auto neFaitPas = prefixes(clesLignes(), "{\"choix\":\"ne-fait-pas\"}");
        for (std::size_t i = 0; i < m.size(); ++i)
            m[i] = {prefixe[i], fait[i], neFaitPas[i]};
        return m;
    }();
    static const auto prefixeNote = prefixes(clesLignes(), "\"");
    static const auto prefixeComposee = prefixes(clesComposees(), "\"");
    const char* debut = a.position();
    const auto echec = [&] {
        a.revenir(debut);
        return false;
    };
    const auto identite = [&](std::string_view motif, std::string& cible) {
        if (!a.correspond(motif) || a.suivant() != '"')
            return false;
        cible = a.texteUtf8();
        return true;
    };
    if (!identite("{\"format\":\"pavonis-evaluation\",\"version\":1,\"evaluateur\":",
                  l.evaluation.evaluateur) ||
        !identite(",\"beneficiaire\":", l.evaluation.beneficiaire) ||
        !identite(",\"date\":", l.evaluation.date) || !a.correspond(std::string_view(",\"lignes\":{")))
        return echec();
    for (std::size_t i = 0; i < grille::kNbLignes; ++i)
        if ((i > 0 && !a.correspond(',')) || !ligneCompacte(a, prefixeLigne[i], l.evaluation.lignes[i]))
            return echec();
    if (!a.correspond('}'))
        return echec();
    if (a.correspond('}'))
        return true;
    ResultatsEvaluation r;
    if (!a.correspond(std::string_view(",\"resultats\":{\"lignes\":{")))
        return echec();
    for (std::size_t i = 0; i < grille::kNbLignes; ++i)
        if ((i > 0 && !a.correspond(',')) || !modaliteCompacte(a, prefixeNote[i], r.notesLignes[i]))
            return echec();
    if (!a.correspond(std::string_view("},\"composees\":{")))
        return echec();
    for (std::size_t i = 0; i < r.notesComposees.size(); ++i)
        if ((i > 0 && !a.correspond(',')) || !modaliteCompacte(a, prefixeComposee[i], r.notesComposees[i]))
            return echec();
    if (!a.correspond(std::string_view("},\"gir\":")))
        return echec();
    const char g = a.suivant();
    if (g < '1' || g > '6' || !a.correspond(g) || !a.correspond(std::string_view(",\"sous_groupe\":")))
        return echec();
    r.gir = g - '0';
    if (a.correspond(std::string_view("null"))) {
        r.sousGroupe = '\0';
    } else {
        const char* p = a.position();
        if (!a.correspond('"') || !(a.suivant() >= 'A' && a.suivant() <= 'C') || !a.correspond(a.suivant()) ||
            !a.correspond('"'))
            return echec();
        r.sousGroupe = p[1];
    }
    if (!a.correspond(std::string_view("}}")) || (r.gir >= 5) != (r.sousGroupe != '\0'))
        return echec();
    l.resultats = r;
    return true;
}

} // namespace

std::string FormatEvaluation::ecrire(const Evaluation& e, const ResultatsEvaluation& r, bool surUneLigne)
{
    Ecrivain w(surUneLigne);
    const std::string_view sep = surUneLigne ? "," : ", ";
    const std::string_view deuxPoints = surUneLigne ? ":" : ": ";
    w.s.reserve(surUneLigne ? 1536 : 3072);
    w.ouvrir('{');
    w.cle("format");
    json::ajouterTexte(w.s, kFormat);
    w.cle("version");
    w.s += std::to_string(kVersion);
    w.cle("evaluateur");
    json::ajouterTexte(w.s, e.evaluateur);
    w.cle("beneficiaire");
    json::ajouterTexte(w.s, e.beneficiaire);
    w.cle("date");
    json::ajouterTexte(w.s, e.date);
    w.cle("lignes");
    w.ouvrir('{');
    for (std::size_t i = 0; i < e.lignes.size(); ++i) {
        const ReponseLigne& l = e.lignes[i];
        w.cle(Evaluation::cle(i));
        std::string m = "{\"choix\"";
        m += deuxPoints;
        json::ajouterTexte(m, texteChoix(l.choix));
        if (std::find(l.adverbes.begin(), l.adverbes.end(), true) != l.adverbes.end()) {
            m += sep;
            m += "\"adverbes\"";
            m += deuxPoints;
            m += '[';
            bool premier = true;
            for (std::size_t k = 0; k < 4; ++k)
                if (l.adverbes[k]) {
                    if (!premier)
                        m += sep;
                    premier = false;
                    m += '"';
                    m += kLettres[k];
                    m += '"';
                }
            m += ']';
        }
        m += '}';
        w.enLigne(m);
    }
    w.fermer('}');
    w.cle("resultats");
    w.ouvrir('{');
    w.cle("lignes");
    w.ouvrir('{');
    for (std::size_t i = 0; i < r.notesLignes.size(); ++i) {
        w.cle(Evaluation::cle(i));
        w.enLigne(std::string{'"', r.notesLignes[i], '"'});
    }
    w.fermer('}');
    w.cle("composees");
    w.ouvrir('{');
    for (std::size_t i = 0; i < r.notesComposees.size(); ++i) {
        w.cle(ResultatsEvaluation::cleComposee(i));
        w.enLigne(std::string{'"', r.notesComposees[i], '"'});
    }
    w.fermer('}');
    w.cle("gir");
    w.s += std::to_string(r.gir);
    w.cle("sous_groupe");
    w.enLigne(r.sousGroupe ? std::string{'"', r.sousGroupe, '"'} : std::string("null"));
    w.fermer('}');
    w.fermer('}');
    if (!surUneLigne)
        w.s += '\n';
    return std::move(w.s);
}

FormatEvaluation::Lecture FormatEvaluation::lire(std::string_view json)
{
    Analyseur a(json);
    Lecture l;
    if (lireCompacte(a, l)) {
        a.finTexte();
        return l;
    }
    bool format = false, version = false, lignes = false, resultats = false;
    bool evaluateur = false, beneficiaire = false, date = false;
    const auto une = [&](bool& vu) {
        if (vu)
            a.erreur("membre en double");
        vu = true;
    };
    a.objet([&](std::string_view nom) {
        if (nom == "format") {
            une(format);
            if (a.texte() != kFormat)
                a.erreur("ce n'est pas une évaluation Pavonis (attendu « pavonis-evaluation »)");
        } else if (nom == "version") {
            une(version);
            if (const int v = a.entier(); v != kVersion)
                a.erreur("version " + std::to_string(v) + " inconnue (ce programme lit la version 1)");
        } else if (nom == "evaluateur") {
            une(evaluateur);
            l.evaluation.evaluateur = a.texteUtf8();
        } else if (nom == "beneficiaire") {
            une(beneficiaire);
            l.evaluation.beneficiaire = a.texteUtf8();
        } else if (nom == "date") {
            une(date);
            l.evaluation.date = a.texteUtf8();
        } else if (nom == "lignes") {
            une(lignes);
            objetComplet(a, clesLignes(), "ligne d'évaluation",
                         [&](std::size_t i) { l.evaluation.lignes[i] = lireReponseLigne(a); });
        } else if (nom == "resultats") {
            une(resultats);
            l.resultats = lireResultats(a);
        } else {
            a.erreur("membre inconnu");
        }
    });
    for (const auto& [vu, nom] : {std::pair{format, "format"}, {version, "version"}, {lignes, "lignes"}})
        if (!vu) {
            a.entrer(nom);
            a.erreur("membre manquant");
        }
    a.finTexte();
    return l;
}

FormatEvaluation::Lecture FormatEvaluation::lireLigne(std::string_view texte, std::size_t& longueur)
{
    // The line's length first: whatever is wrong with it, the next read
    // starts after it.
    const std::size_t n = texte.find('\n');
    longueur = n == std::string_view::npos ? texte.size() : n + 1;
    std::string_view ligne = texte.substr(0, n);
    if (!ligne.empty() && ligne.back() == '\r')
        ligne.remove_suffix(1);
    return lire(ligne);
}

std::vector<std::string> FormatEvaluation::ecarts(const ResultatsEvaluation& lus,
                                                  const ResultatsEvaluation& calcules)
{
    std::vector<std::string> e;
    if (lus == calcules)
        return e;
    const auto ecart = [&](const std::string& chemin, const std::string& lu, const std::string& calcule) {
        if (lu != calcule)
            e.push_back("/resultats/" + chemin + " : " + lu + " dans le fichier, " + calcule + " recalculé");
    };
    for (std::size_t i = 0; i < lus.notesLignes.size(); ++i)
        ecart("lignes/" + std::string(Evaluation::cle(i)), lettre(lus.notesLignes[i]),
              lettre(calcules.notesLignes[i]));
    for (std::size_t i = 0; i < lus.notesComposees.size(); ++i)
        ecart("composees/" + std::string(ResultatsEvaluation::cleComposee(i)), lettre(lus.notesComposees[i]),
              lettre(calcules.notesComposees[i]));
    ecart("gir", std::to_string(lus.gir), std::to_string(calcules.gir));
    ecart("sous_groupe", lettre(lus.sousGroupe), lettre(calcules.sousGroupe));
    return e;
}

} // namespace pavonis
