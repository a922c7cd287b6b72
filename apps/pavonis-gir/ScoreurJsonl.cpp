#include <pavonis/gir/ScoreurJsonl.h>

#include <pavonis/engine/GrilleAggir.h>
#include <pavonis/evaluation/ModalitesEvaluation.h>

#include <pavonis/evaluation/FormatEvaluation.h>
#include <pavonis/evaluation/LecteurEvaluations.h>
#include <pavonis/hostapi/Erreur.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <future>
#include <thread>

namespace pavonis {

namespace {

constexpr std::size_t kTailleLecture = 64 * 1024;
constexpr std::size_t kBloc = 2 << 20; // a block stays in the caches

constexpr char kSeparateur = ';';

// A CSV field: quoted when it holds the separator, a quote or a line end.
void ajouterChamp(std::string& s, std::string_view v)
{
    if (std::none_of(v.begin(), v.end(),
                     [](char c) { return c == kSeparateur || c == '"' || c == '\r' || c == '\n'; })) {
        s += v;
        return;
    }
    s += '"';
    for (char c : v) {
        if (c == '"')
            s += '"';
        s += c;
    }
    s += '"';
}

// A row's cell with its separator, by choice and ticked adverbs.
struct Cellule {
    std::array<char, 8> texte{};
    std::uint8_t longueur = 0;
};
constexpr std::array<Cellule, 48> kCellules = [] {
    std::array<Cellule, 48> t{};
    for (std::size_t choix = 0; choix < 3; ++choix)
        for (std::size_t cochees = 0; cochees < 16; ++cochees) {
            Cellule& x = t[choix * 16 + cochees];
            x.texte[x.longueur++] = kSeparateur;
            if (choix == std::size_t(Choix::Fait))
                x.texte[x.longueur++] = 'F';
            if (choix == std::size_t(Choix::Fait))
                continue;
            // A row without a choice keeps its adverbs, without a letter of choice.
            if (choix == std::size_t(Choix::NeFaitPas))
                x.texte[x.longueur++] = 'N';
            for (std::size_t a = 0; a < 4; ++a)
                if (cochees >> a & 1)
                    x.texte[x.longueur++] = kAdverbes[a].lettre;
        }
    return t;
}();

} // namespace

ScoreurJsonl::ScoreurJsonl(const TableGir& table, unsigned fils)
    : table_(table), fils_(fils ? fils : std::max(1u, std::thread::hardware_concurrency()))
{}

// One CSV line: identity, rows, and, when scored, the composite modalities,
// the GIR and the sub-group (empty cells otherwise).
void ScoreurJsonl::ecrireLigne(std::string& s, const Evaluation& e, const ModalitesEvaluation* mod,
                               std::uint8_t code)
{
    ajouterChamp(s, e.evaluateur);
    s += kSeparateur;
    ajouterChamp(s, e.beneficiaire);
    s += kSeparateur;
    ajouterChamp(s, e.date);
    // The rest is at most 24 * 6 + 6 * 2 + 5 bytes: built in place.
    char cellules[256];
    char* c = cellules;
    for (const ReponseLigne& l : e.lignes) {
        const unsigned cochees = unsigned(l.adverbes[0]) | unsigned(l.adverbes[1]) << 1 |
                                 unsigned(l.adverbes[2]) << 2 | unsigned(l.adverbes[3]) << 3;
        const Cellule& x = kCellules[static_cast<std::size_t>(l.choix) * 16 + cochees];
        std::memcpy(c, x.texte.data(), x.texte.size()); // one copy, no branch on random answers
        c += x.longueur;
    }
    for (std::size_t k = 0; k < 6; ++k) {
        *c++ = kSeparateur;
        if (mod)
            *c++ = mod->composees[k];
    }
    *c++ = kSeparateur;
    if (mod)
        *c++ = static_cast<char>('0' + TableGir::gir(code));
    *c++ = kSeparateur;
    if (const char sg = mod ? TableGir::sousGroupe(code) : '\0')
        *c++ = sg;
    *c++ = '\n';
    s.append(cellules, static_cast<std::size_t>(c - cellules));
}

void ScoreurJsonl::traiterLigne(std::string_view& texte, std::size_t numero, Morceau& m) const
{
    // The line ends where the next begins, whatever is wrong with it; a JSON
    // text holds no raw line end.
    const std::size_t fin = texte.find('\n');
    std::string_view ligne = texte.substr(0, fin);
    texte.remove_prefix(fin == std::string_view::npos ? texte.size() : fin + 1);
    if (!ligne.empty() && ligne.back() == '\r')
        ligne.remove_suffix(1);
    // Read where it lies: the block goes on, or its margin follows.
    thread_local LecteurEvaluations lecteur;
    FormatEvaluation::Lecture lecture;
    try {
        lecture = lecteur.lire(ligne);
    } catch (const Erreur& e) {
        ++m.erreurs;
        m.messages.emplace_back(numero, std::string(", ") + e.what());
        return;
    }
    const Evaluation& e = lecture.evaluation;
    // Rows nobody answered: written as they are, not scored.
    if (std::any_of(e.lignes.begin(), e.lignes.end(),
                    [](const ReponseLigne& l) { return l.choix == Choix::Aucun; })) {
        ++m.erreurs;
        m.messages.emplace_back(numero,
                                " : lignes sans réponse : " + Evaluation::nommer(e.lignesSansReponse()) +
                                    " ; évaluation non calculée.");
        ecrireLigne(m.sortie, e, nullptr, 0);
        return;
    }
    const ModalitesEvaluation mod = ModalitesEvaluation::calculer(e);
    const std::uint8_t code = table_.code(TableGir::index(mod.codes));
    if (code == 0) {
        ++m.erreurs;
        m.messages.emplace_back(numero, " : un score de groupe dépasse la capacité d'un entier 32 bits.");
        return;
    }
    if (lecture.resultats) {
        ResultatsEvaluation calcules;
        calcules.notesLignes = mod.lignes;
        calcules.notesComposees = mod.composees;
        calcules.gir = TableGir::gir(code);
        calcules.sousGroupe = TableGir::sousGroupe(code);
        for (const std::string& ecart : FormatEvaluation::ecarts(*lecture.resultats, calcules))
            m.messages.emplace_back(numero, ", avertissement : " + ecart + ".");
    }

    ecrireLigne(m.sortie, e, &mod, code);
    const int gir = TableGir::gir(code);
    ++m.parGir[static_cast<std::size_t>(gir)];
}

void ScoreurJsonl::traiterMorceau(std::string_view texte, Morceau& m) const
{
    m.sortie.reserve(texte.size() / 8);
    while (!texte.empty()) {
        ++m.lignes;
        // A blank line: skipped.
        const std::size_t plein = texte.find_first_not_of(" \t\r");
        if (plein == std::string_view::npos || texte[plein] == '\n') {
            texte.remove_prefix(plein == std::string_view::npos ? texte.size() : plein + 1);
            continue;
        }
        traiterLigne(texte, m.lignes, m);
    }
}

std::string ScoreurJsonl::entete()
{
    std::string e = "evaluateur;beneficiaire;date";
    for (const LigneEvaluation& l : grille::kLignes) {
        e += kSeparateur;
        e += l.cle;
    }
    for (int numero : grille::kVariablesComposees) {
        e += kSeparateur;
        e += grille::variable(numero).cle;
    }
    return e + ";gir;sous_groupe\n";
}

void ScoreurJsonl::traiterBloc(std::string_view bloc, const Ecriture& ecrire, const Signalement& signaler)
{
    // The block cut in parts of whole lines, more parts than threads: a
    // thread that finishes early (the other shares its core with the read of
    // the next block) takes the next part instead of waiting.
    std::vector<std::string_view> parts;
    const std::size_t nombreParts = std::size_t(fils_) * 8;
    for (std::size_t k = 0; k < nombreParts && !bloc.empty(); ++k) {
        std::size_t taille = k + 1 == nombreParts ? bloc.size() : bloc.size() / (nombreParts - k);
        const std::size_t n = bloc.find('\n', taille == 0 ? 0 : taille - 1);
        taille = n == std::string_view::npos ? bloc.size() : n + 1;
        parts.push_back(bloc.substr(0, taille));
        bloc.remove_prefix(taille);
    }
    morceaux_.resize(std::max<std::size_t>(morceaux_.size(), parts.size()));
    std::atomic<std::size_t> prochaine{0};
    const auto travailler = [this, &parts, &prochaine] {
        for (std::size_t k; (k = prochaine.fetch_add(1, std::memory_order_relaxed)) < parts.size();) {
            morceaux_[k] = {};
            traiterMorceau(parts[k], morceaux_[k]);
        }
    };
    std::vector<std::thread> travaux;
    for (unsigned k = 1; k < fils_ && k < parts.size(); ++k)
        travaux.emplace_back(travailler);
    travailler();
    for (std::thread& t : travaux)
        t.join();
    for (std::size_t k = 0; k < parts.size(); ++k) {
        Morceau& m = morceaux_[k];
        for (const auto& [numero, message] : m.messages)
            signaler("ligne " + std::to_string(lignesAvant_ + numero) + message);
        ecrire(m.sortie);
        lignesAvant_ += m.lignes;
        lignesEnErreur_ += m.erreurs;
        for (std::size_t g = 0; g < parGir_.size(); ++g)
            parGir_[g] += m.parGir[g];
    }
}

void ScoreurJsonl::ligneTropLongue(const Signalement& signaler)
{
    ++lignesEnErreur_;
    signaler("ligne " + std::to_string(lignesAvant_ + 1) + " : plus de " + std::to_string(kLigneMax) +
             " octets, ce n'est pas une évaluation ; ignorée.");
    ++lignesAvant_;
}

int ScoreurJsonl::traiter(const Lecture& lire, const Ecriture& ecrire, const Signalement& signaler)
{
    lignesEnErreur_ = 0;
    lignesAvant_ = 0;
    parGir_ = {};
    ecrire(entete());

    // Fills a buffer up to a block, or to the end of the input.
    struct Tampon {
        std::string texte;
        std::size_t fin = 0;
        bool finEntree = false;
    };
    const auto remplir = [&lire](Tampon& t) {
        while (!t.finEntree && t.fin < kBloc) {
            if (t.texte.size() < t.fin + kTailleLecture + LecteurEvaluations::kMarge)
                t.texte.resize(t.fin + kTailleLecture + LecteurEvaluations::kMarge);
            const std::size_t lu = lire(t.texte.data() + t.fin, kTailleLecture);
            t.finEntree = lu == 0;
            t.fin += lu;
        }
    };

    // Two buffers: the next block is read while this one is scored, so the
    // copy out of the input does not leave a core idle.
    std::array<Tampon, 2> tampons;
    Tampon* courant = &tampons[0];
    Tampon* suivant = &tampons[1];
    remplir(*courant);
    bool tropLongue = false;
    while (courant->fin > 0) {
        const std::string_view lu(courant->texte.data(), courant->fin);
        const std::size_t dernier = lu.rfind('\n');
        if (dernier == std::string_view::npos && !courant->finEntree) {
            // A line with no end in a whole block: reported once, skipped.
            if (!tropLongue)
                ligneTropLongue(signaler);
            tropLongue = true;
            courant->fin = 0;
            remplir(*courant);
            continue;
        }
        const std::size_t coupe = dernier == std::string_view::npos ? courant->fin : dernier + 1;
        // The unfinished line opens the next buffer.
        suivant->fin = courant->fin - coupe;
        suivant->finEntree = courant->finEntree;
        if (suivant->texte.size() < suivant->fin + LecteurEvaluations::kMarge)
            suivant->texte.resize(suivant->fin + LecteurEvaluations::kMarge);
        std::memcpy(suivant->texte.data(), courant->texte.data() + coupe, suivant->fin);
        // The future's destructor waits for the read, also when scoring throws.
        std::future<void> lecture = std::async(std::launch::async, remplir, std::ref(*suivant));

        std::string_view bloc = lu.substr(0, coupe);
        if (tropLongue) { // the end of the long line
            const std::size_t n = bloc.find('\n');
            bloc.remove_prefix(n == std::string_view::npos ? bloc.size() : n + 1);
            tropLongue = false;
        }
        traiterBloc(bloc, ecrire, signaler);
        lecture.get();
        std::swap(courant, suivant);
    }
    return lignesEnErreur_ == 0 ? 0 : 2;
}

} // namespace pavonis
