#include <pavonis/evaluation/LecteurEvaluations.h>

#include <pavonis/engine/CascadeGir.h>
#include <pavonis/engine/GrilleAggir.h>
#include <pavonis/hostapi/Erreur.h>

#include <simdjson.h>

#include <algorithm>
#include <array>
#include <bitset>
#include <cmath>
#include <cstring>
#include <limits>

namespace pavonis {

namespace {

// The key unescaped; simdjson 3.1 added a flag (replace invalid escapes),
// which we leave off as 3.0 always did.
template <class Champ> auto cleDesechappee(Champ& f)
{
    if constexpr (requires { f.unescaped_key(false); })
        return f.unescaped_key(false);
    else
        return f.unescaped_key();
}

namespace od = simdjson::ondemand;
static_assert(LecteurEvaluations::kMarge >= simdjson::SIMDJSON_PADDING);

constexpr std::string_view kFormat = "pavonis-evaluation";
constexpr int kVersion = 1;

[[gnu::cold, gnu::noinline]] std::string enFrancais(simdjson::error_code e)
{
    switch (e) {
    case simdjson::UTF8_ERROR:
        return "texte qui n'est pas en UTF-8";
    case simdjson::UNESCAPED_CHARS:
        return "caractère de contrôle dans un texte";
    case simdjson::UNCLOSED_STRING:
        return "texte non terminé";
    case simdjson::STRING_ERROR:
        return "texte mal formé (échappement inconnu, ou demi-caractère UTF-16 sans son autre moitié)";
    case simdjson::NUMBER_ERROR:
    case simdjson::NUMBER_OUT_OF_RANGE:
        return "nombre mal formé ou hors limites";
    case simdjson::DEPTH_ERROR:
        return "trop de niveaux d'imbrication";
    case simdjson::EMPTY:
        return "texte vide : aucune évaluation";
    case simdjson::TRAILING_CONTENT:
        return "texte après la fin de l'évaluation";
    case simdjson::INCOMPLETE_ARRAY_OR_OBJECT:
        return "objet ou tableau non terminé";
    case simdjson::CAPACITY:
        return "texte trop grand pour une évaluation";
    default:
        return "JSON mal formé (virgule, deux-points ou accolade mal placés)";
    }
}

[[gnu::cold, gnu::noinline]] std::string nomType(od::json_type t)
{
    switch (t) {
    case od::json_type::array:
        return "un tableau";
    case od::json_type::object:
        return "un objet";
    case od::json_type::number:
        return "un nombre";
    case od::json_type::string:
        return "un texte";
    case od::json_type::boolean:
        return "un booléen";
    case od::json_type::null:
        return "null";
    }
    return "une valeur";
}

// The raw text starting at `r` is `mot`, closing quote included.
template <std::size_t N> bool egal(const char* r, const char (&mot)[N])
{
    return std::memcmp(r, mot, N - 1) == 0 && r[N - 1] == '"';
}

// Stage one of the parser refuses a whole text for one bad byte in a text
// value: read again, with bytes masked, to tell which value holds it.
struct RelireMasque {
    simdjson::error_code erreur;
};

// Reads one document: every value through simdjson, the JSON path of what
// is being read kept for messages.
class Lecteur {
public:
    // `original`: the bytes before masking, on the second reading.
    explicit Lecteur(const char* masque = nullptr, const char* original = nullptr)
        : masque_(masque), original_(original)
    {}

    [[noreturn, gnu::cold, gnu::noinline]] void erreur(const std::string& message) const
    {
        std::string chemin;
        for (std::size_t i = 0; i < profondeur_; ++i)
            chemin.append("/").append(chemin_[i]);
        throw Erreur(Erreur::Code::Saisie, (chemin.empty() ? "/" : chemin) + " : " + message);
    }
    void verifier(simdjson::error_code e) const
    {
        if (e) [[unlikely]]
            echec(e);
    }
    [[noreturn, gnu::cold, gnu::noinline]] void echec(simdjson::error_code e) const { erreur(enFrancais(e)); }

    void entrer(std::string_view segment) { chemin_[profondeur_++] = segment; }
    void sortir() { --profondeur_; }

    // A value that is not of the kind asked for.
    [[noreturn, gnu::cold, gnu::noinline]] void erreurGenre(od::value& v, simdjson::error_code e,
                                                            const char* quoi)
    {
        od::json_type t{};
        if (e != simdjson::INCORRECT_TYPE || v.type().get(t))
            erreur(enFrancais(e));
        erreur(std::string(quoi) + " attendu, " + nomType(t) + " trouvé");
    }
    void attendre(od::value& v, od::json_type attendu, const char* quoi)
    {
        od::json_type t{};
        verifier(v.type().get(t));
        if (t != attendu)
            erreur(std::string(quoi) + " attendu, " + nomType(t) + " trouvé");
    }

    std::string_view texte(od::value v)
    {
        if (original_)
            verifierOctets(v);
        std::string_view t;
        if (const auto e = v.get_string().get(t))
            erreurGenre(v, e, "texte");
        return t;
    }

    // The raw bytes of a text value, after its opening quote: compared as
    // they are to the words this library writes, which need no escape.
    const char* brut(od::value& v)
    {
        od::raw_json_string r;
        if (const auto e = v.get_raw_json_string().get(r))
            erreurGenre(v, e, "texte");
        return r.raw();
    }

    // A whole number, also written with a fraction of zero (1.0), as JSON
    // Schema counts it.
    int entier(od::value v)
    {
        attendre(v, od::json_type::number, "nombre entier");
        od::number n;
        verifier(v.get_number().get(n));
        if (n.is_int64() && n.get_int64() >= std::numeric_limits<int>::min() &&
            n.get_int64() <= std::numeric_limits<int>::max())
            return static_cast<int>(n.get_int64());
        const double d = n.is_double() ? n.get_double() : 0.5;
        if (n.is_double() && std::trunc(d) == d && std::abs(d) < 1e9)
            return static_cast<int>(d);
        erreur("nombre entier attendu");
    }

    // Whether the value is null, written in full: the type alone is told by
    // its first letter.
    bool nul(od::value& v)
    {
        od::json_type t{};
        verifier(v.type().get(t));
        if (t != od::json_type::null)
            return false;
        bool nul = false;
        verifier(v.is_null().get(nul));
        if (!nul)
            erreur(enFrancais(simdjson::TAPE_ERROR));
        return true;
    }

    // Each member handed to `membre` with its name on the path. `nomme`
    // tells the name of a raw key when it can without unescaping it (the
    // key the reader expects next), or an empty view.
    template <class Nomme, class F> void objet(od::object o, Nomme&& nomme, F&& membre)
    {
        for (auto champ : o) {
            od::field f;
            verifier(std::move(champ).get(f));
            std::string_view nom = nomme(f.key());
            if (nom.empty())
                verifier(cleDesechappee(f).get(nom));
            entrer(nom);
            membre(nom, f.value());
            sortir();
        }
    }
    template <class Nomme, class F> void objet(od::value v, Nomme&& nomme, F&& membre)
    {
        od::object o;
        if (const auto e = v.get_object().get(o))
            erreurGenre(v, e, "objet");
        objet(o, nomme, membre);
    }

    template <class F> void tableau(od::value v, F&& element)
    {
        static constexpr std::string_view kIndices[] = {"0", "1", "2", "3", "4", "5", "6", "7"};
        od::array a;
        if (const auto e = v.get_array().get(a))
            erreurGenre(v, e, "tableau");
        std::size_t i = 0;
        for (auto e : a) {
            od::value x;
            verifier(std::move(e).get(x));
            entrer(i < std::size(kIndices) ? kIndices[i] : "…");
            element(x);
            sortir();
            ++i;
        }
    }

private:
    // The bytes this text had before masking: UTF-8, without control
    // characters.
    [[gnu::noinline]] void verifierOctets(od::value& v)
    {
        const std::string_view brut = v.raw_json_token();
        const char* debut = original_ + (brut.data() - masque_);
        if (!simdjson::validate_utf8(debut, brut.size()))
            erreur(enFrancais(simdjson::UTF8_ERROR));
        if (std::any_of(debut, debut + brut.size(),
                        [](char c) { return static_cast<unsigned char>(c) < 0x20; }))
            erreur(enFrancais(simdjson::UNESCAPED_CHARS));
    }

    const char* masque_;
    const char* original_;
    std::array<std::string_view, 8> chemin_{};
    std::size_t profondeur_ = 0;
};

// The names of an object that must each come once, members usually in
// order: the index of a name, or N for another.
template <std::size_t N> class Membres {
public:
    explicit Membres(const std::array<std::string_view, N>& noms) : noms_(noms) {}

    // The expected name when the raw key is it, else empty: the caller
    // unescapes the key.
    std::string_view nommer(od::raw_json_string brut) const
    {
        if (attendu_ >= N)
            return {};
        const std::string_view nom = noms_[attendu_];
        const char* r = brut.raw();
        return r[0] == nom[0] && r[nom.size()] == '"' && std::memcmp(r, nom.data(), nom.size()) == 0
                   ? nom
                   : std::string_view();
    }
    auto nommeur()
    {
        return [this](od::raw_json_string brut) { return nommer(brut); };
    }
    std::size_t index(std::string_view nom)
    {
        std::size_t i =
            attendu_ < N && noms_[attendu_].data() == nom.data()
                ? attendu_
                : static_cast<std::size_t>(std::find(noms_.begin(), noms_.end(), nom) - noms_.begin());
        attendu_ = i + 1;
        return i;
    }
    // Marks member i as read; false when it was already.
    bool premiereFois(std::size_t i) { return !vus_.test(i) && (vus_.set(i), true); }
    // The first member not read, or N.
    std::size_t manquant() const
    {
        for (std::size_t i = 0; i < N; ++i)
            if (!vus_.test(i))
                return i;
        return N;
    }
    std::string_view nom(std::size_t i) const { return noms_[i]; }

private:
    const std::array<std::string_view, N>& noms_;
    std::bitset<N> vus_;
    std::size_t attendu_ = 0;
};

// An object whose members are all required, each read by `lire(i, valeur)`.
template <std::size_t N, class F>
void objetComplet(Lecteur& l, od::value v, const std::array<std::string_view, N>& noms, const char* quoi,
                  F&& lire)
{
    Membres<N> m(noms);
    l.objet(v, m.nommeur(), [&](std::string_view nom, od::value valeur) {
        const std::size_t i = m.index(nom);
        if (i == N)
            l.erreur(std::string(quoi) + " inconnue");
        if (!m.premiereFois(i))
            l.erreur("membre en double");
        lire(i, valeur);
    });
    if (const std::size_t i = m.manquant(); i < N)
        l.erreur("il manque « " + std::string(m.nom(i)) + " »");
}

const std::array<std::string_view, grille::kNbLignes> kClesLignes = [] {
    std::array<std::string_view, grille::kNbLignes> c{};
    for (std::size_t i = 0; i < c.size(); ++i)
        c[i] = grille::kLignes[i].cle;
    return c;
}();

const std::array<std::string_view, ResultatsEvaluation::kNbComposees> kClesComposees = [] {
    std::array<std::string_view, ResultatsEvaluation::kNbComposees> c{};
    for (std::size_t i = 0; i < c.size(); ++i)
        c[i] = grille::variable(grille::kVariablesComposees[i]).cle;
    return c;
}();

char modalite(Lecteur& l, od::value v)
{
    if (const char* r = l.brut(v); r[0] >= 'A' && r[0] <= 'C' && r[1] == '"')
        return r[0];
    l.erreur("modalité « " + std::string(l.texte(v)) + " » inconnue (attendu A, B ou C)");
}

ReponseLigne reponseLigne(Lecteur& l, od::value v)
{
    ReponseLigne r;
    bool choix = false, adverbes = false;
    const auto nommer = [](od::raw_json_string cle) {
        return egal(cle.raw(), "choix")      ? std::string_view("choix")
               : egal(cle.raw(), "adverbes") ? std::string_view("adverbes")
                                             : std::string_view();
    };
    l.objet(v, nommer, [&](std::string_view nom, od::value valeur) {
        const bool estChoix = nom == "choix";
        if (!estChoix && nom != "adverbes")
            l.erreur("membre inconnu (attendu choix, adverbes)");
        bool& vu = estChoix ? choix : adverbes;
        if (vu)
            l.erreur("membre en double");
        vu = true;
        if (estChoix) {
            const char* c = l.brut(valeur);
            if (egal(c, "fait"))
                r.choix = Choix::Fait;
            else if (egal(c, "ne-fait-pas"))
                r.choix = Choix::NeFaitPas;
            else if (!egal(c, "aucun"))
                l.erreur("choix « " + std::string(l.texte(valeur)) +
                         " » inconnu (attendu fait, ne-fait-pas ou aucun)");
            return;
        }
        int n = 0;
        l.tableau(valeur, [&](od::value adverbe) {
            const char* a = l.brut(adverbe);
            const std::optional<std::size_t> trouve = a[1] == '"' ? indexAdverbe(a[0]) : std::nullopt;
            if (!trouve)
                l.erreur("adverbe « " + std::string(l.texte(adverbe)) + " » inconnu (attendu S, T, C ou H)");
            const std::size_t k = *trouve;
            if (r.adverbes[k])
                l.erreur(std::string("adverbe « ") + a[0] + " » en double");
            r.adverbes[k] = true;
            if (++n == 4)
                l.erreur(
                    "quatrième adverbe : une ligne n'a jamais ses quatre adverbes cochés (la quatrième coche "
                    "vide la ligne)");
        });
        if (r.choix == Choix::Fait && n > 0)
            l.erreur("des adverbes sont cochés alors que la personne « fait » (l'écran les décoche)");
    });
    if (!choix) {
        l.entrer("choix");
        l.erreur("membre manquant");
    }
    if (r.choix == Choix::Fait && std::find(r.adverbes.begin(), r.adverbes.end(), true) != r.adverbes.end()) {
        l.entrer("adverbes");
        l.erreur("des adverbes sont cochés alors que la personne « fait » (l'écran les décoche)");
    }
    return r;
}

ResultatsEvaluation resultats(Lecteur& l, od::value v)
{
    static const std::array<std::string_view, 4> kNoms{"lignes", "composees", "gir", "sous_groupe"};
    ResultatsEvaluation r;
    objetComplet(l, v, kNoms, "membre", [&](std::size_t m, od::value valeur) {
        switch (m) {
        case 0:
            objetComplet(l, valeur, kClesLignes, "ligne",
                         [&](std::size_t i, od::value x) { r.notesLignes[i] = modalite(l, x); });
            break;
        case 1:
            objetComplet(l, valeur, kClesComposees, "variable composée",
                         [&](std::size_t i, od::value x) { r.notesComposees[i] = modalite(l, x); });
            break;
        case 2:
            r.gir = l.entier(valeur);
            if (r.gir < 1 || r.gir > 6)
                l.erreur("GIR " + std::to_string(r.gir) + " hors de 1 à 6");
            break;
        default:
            r.sousGroupe = l.nul(valeur) ? '\0' : modalite(l, valeur);
            break;
        }
    });
    if (cascade::aSousGroupe(r.gir) != (r.sousGroupe != '\0')) {
        l.entrer("sous_groupe");
        l.erreur("un sous-groupe accompagne les GIR 5 et 6, et eux seuls");
    }
    return r;
}

// Everything inlined into one function: the parser's state stays in registers.
[[gnu::flatten]] FormatEvaluation::Lecture lireDocument(od::parser& parser, const char* json,
                                                        std::size_t longueur, std::size_t capacite,
                                                        const char* original)
{
    Lecteur l(json, original);
    od::document doc;
    if (const auto e = parser.iterate(json, longueur, capacite).get(doc)) {
        if (!original && (e == simdjson::UTF8_ERROR || e == simdjson::UNESCAPED_CHARS))
            throw RelireMasque{e};
        l.verifier(e);
    }
    od::object racine;
    if (const auto e = doc.get_object().get(racine)) {
        od::json_type t{};
        if (e != simdjson::INCORRECT_TYPE || doc.type().get(t))
            l.verifier(e);
        l.erreur("objet attendu, " + nomType(t) + " trouvé");
    }

    static const std::array<std::string_view, 7> kNoms{"format", "version", "evaluateur", "beneficiaire",
                                                       "date",   "lignes",  "resultats"};
    FormatEvaluation::Lecture lecture;
    Membres<7> m(kNoms);
    l.objet(racine, m.nommeur(), [&](std::string_view nom, od::value v) {
        const std::size_t i = m.index(nom);
        if (i == kNoms.size())
            l.erreur("membre inconnu");
        if (!m.premiereFois(i))
            l.erreur("membre en double");
        switch (i) {
        case 0:
            if (!egal(l.brut(v), "pavonis-evaluation") && l.texte(v) != kFormat)
                l.erreur("ce n'est pas une évaluation Pavonis (attendu « pavonis-evaluation »)");
            break;
        case 1:
            if (const int version = l.entier(v); version != kVersion)
                l.erreur("version " + std::to_string(version) + " inconnue (ce programme lit la version 1)");
            break;
        case 2:
            lecture.evaluation.evaluateur = l.texte(v);
            break;
        case 3:
            lecture.evaluation.beneficiaire = l.texte(v);
            break;
        case 4:
            lecture.evaluation.date = l.texte(v);
            break;
        case 5:
            objetComplet(l, v, kClesLignes, "ligne d'évaluation", [&](std::size_t k, od::value x) {
                lecture.evaluation.lignes[k] = reponseLigne(l, x);
            });
            break;
        default:
            lecture.resultats = resultats(l, v);
            break;
        }
    });
    for (const std::size_t requis : {std::size_t{0}, std::size_t{1}, std::size_t{5}})
        if (m.premiereFois(requis)) {
            l.entrer(kNoms[requis]);
            l.erreur("membre manquant");
        }
    if (doc.current_location().error() != simdjson::OUT_OF_BOUNDS)
        l.erreur(enFrancais(simdjson::TRAILING_CONTENT));
    return lecture;
}

} // namespace

struct LecteurEvaluations::Etat {
    od::parser parser;
    simdjson::padded_string copie;
};

LecteurEvaluations::LecteurEvaluations() : etat_(std::make_unique<Etat>()) {}
LecteurEvaluations::~LecteurEvaluations() = default;

FormatEvaluation::Lecture LecteurEvaluations::lire(std::string_view json)
{
    try {
        return lireDocument(etat_->parser, json.data(), json.size(), json.size() + kMarge, nullptr);
    } catch (const RelireMasque& r) {
        // The same text with every byte that could hide a fault made plain:
        // its structure reads, and each text value is checked as it was.
        std::string masque(json);
        for (char& c : masque) {
            const auto u = static_cast<unsigned char>(c);
            if (u >= 0x80)
                c = 'x';
            else if (u < 0x20)
                c = ' ';
        }
        simdjson::padded_string copie(masque);
        lireDocument(etat_->parser, copie.data(), copie.size(), copie.size() + simdjson::SIMDJSON_PADDING,
                     json.data());
        throw Erreur(Erreur::Code::Saisie, "/ : " + enFrancais(r.erreur));
    }
}

FormatEvaluation::Lecture LecteurEvaluations::lireCopie(std::string_view json)
{
    etat_->copie = simdjson::padded_string(json);
    return lire(std::string_view(etat_->copie.data(), etat_->copie.size()));
}

} // namespace pavonis
