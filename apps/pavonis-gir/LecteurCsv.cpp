#include <pavonis/gir/LecteurCsv.h>

#include <algorithm>
#include <cstring>

namespace pavonis {

namespace {

constexpr std::size_t kTailleLecture = 64 * 1024;
constexpr std::size_t kApercu = 40;

std::string_view rogner(std::string_view v)
{
    while (!v.empty() && (v.front() == ' ' || v.front() == '\t'))
        v.remove_prefix(1);
    while (!v.empty() && (v.back() == ' ' || v.back() == '\t'))
        v.remove_suffix(1);
    return v;
}

} // namespace

LecteurCsv::LecteurCsv(Lecture lire) : lire_(std::move(lire)) {}

bool LecteurCsv::remplir()
{
    if (finEntree_)
        return false;
    if (debut_ > 0) {
        std::memmove(tampon_.data(), tampon_.data() + debut_, fin_ - debut_);
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

void LecteurCsv::demarrer()
{
    while (fin_ - debut_ < 3 && remplir()) {
    }
    if (fin_ - debut_ >= 3 && std::memcmp(tampon_.data() + debut_, "\xEF\xBB\xBF", 3) == 0) {
        marqueOrdre_ = true;
        debut_ += 3;
    }
    // The first line end tells the file's style.
    std::size_t p = debut_;
    for (;;) {
        while (p < fin_ && tampon_[p] != '\n' && tampon_[p] != '\r')
            ++p;
        if (p < fin_ && tampon_[p] == '\r' && p + 1 == fin_ && !finEntree_) {
            const std::size_t relatif = p - debut_;
            remplir();
            p = debut_ + relatif;
            continue; // CR alone, or CR LF across the boundary
        }
        if (p < fin_ || finEntree_ || p - debut_ > kLigneMax)
            break;
        const std::size_t relatif = p - debut_;
        remplir();
        p = debut_ + relatif;
    }
    if (p < fin_ && tampon_[p] == '\r') {
        const bool lf = p + 1 < fin_ && tampon_[p + 1] == '\n';
        finDeLigne_ = lf ? "\r\n" : "\r";
        terminateur_ = lf ? '\n' : '\r';
    }
}

std::size_t LecteurCsv::finLigne(std::size_t p, bool& trouvee) const
{
    const void* t = std::memchr(tampon_.data() + p, terminateur_, fin_ - p);
    trouvee = t != nullptr;
    return trouvee ? static_cast<std::size_t>(static_cast<const char*>(t) - tampon_.data()) : fin_;
}

std::size_t LecteurCsv::apresFinDeLigne(std::size_t p) const
{
    return p < fin_ ? p + 1 : p;
}

void LecteurCsv::decouperSansGuillemets(std::size_t debut, std::size_t fin)
{
    std::size_t d = debut;
    for (;;) {
        const void* s = std::memchr(tampon_.data() + d, separateur_, fin - d);
        if (!s) {
            champs_.push_back({d - debut, fin - debut});
            return;
        }
        const auto p = static_cast<std::size_t>(static_cast<const char*>(s) - tampon_.data());
        champs_.push_back({d - debut, p - debut});
        d = p + 1;
    }
}

LecteurCsv::Issue LecteurCsv::suivant()
{
    champs_.clear();
    std::size_t balaye = 0; // bytes of the line already searched for its end
    for (;;) {
        if (debut_ == fin_ && !remplir())
            return Issue::Fin;
        bool trouvee = false;
        const std::size_t fin = finLigne(debut_ + balaye, trouvee);
        if (!trouvee && !finEntree_) {
            if (fin - debut_ <= kLigneMax) {
                balaye = fin - debut_;
                remplir();
                continue;
            }
            // Too long to keep: report its start, skip to its end.
            apercu_.assign(tampon_.data() + debut_, kApercu);
            ligne_ = ++lignesLues_;
            for (bool fini = false; !fini;) {
                debut_ = fin_;
                if (!remplir())
                    break;
                const std::size_t f = finLigne(debut_, fini);
                if (fini)
                    debut_ = apresFinDeLigne(f);
            }
            brut_ = apercu_;
            return Issue::LigneTropLongue;
        }
        if (fin - debut_ > kLigneMax) {
            apercu_.assign(tampon_.data() + debut_, kApercu);
            ligne_ = ++lignesLues_;
            debut_ = apresFinDeLigne(fin);
            brut_ = apercu_;
            return Issue::LigneTropLongue;
        }
        if (std::memchr(tampon_.data() + debut_, '"', fin - debut_))
            return analyser();
        std::size_t finEnr = fin;
        if (terminateur_ == '\n' && finEnr > debut_ && tampon_[finEnr - 1] == '\r')
            --finEnr;
        debutEnregistrement_ = debut_;
        finEnregistrement_ = finEnr;
        decouperSansGuillemets(debut_, finEnr);
        ligne_ = ++lignesLues_;
        debut_ = apresFinDeLigne(fin);
        brut_ = std::string_view(tampon_.data() + debutEnregistrement_,
                                 finEnregistrement_ - debutEnregistrement_);
        return Issue::Enregistrement;
    }
}

LecteurCsv::Issue LecteurCsv::analyser()
{
    // Offsets from the record's start: the buffer may move while reading.
    std::size_t p = 0, debutChamp = 0, premiereFin = std::string::npos, lignes = 1, champCite = 0;
    bool cite = false;
    const auto octet = [&](std::size_t i) { return tampon_[debut_ + i]; };
    const auto disponible = [&] { return fin_ - debut_; };

    const auto finir = [&](std::size_t finEnr, std::size_t suite) {
        champs_.push_back({debutChamp, finEnr});
        if (terminateur_ == '\n' && finEnr > 0 && octet(finEnr - 1) == '\r') {
            --finEnr;
            champs_.back().fin = std::max(champs_.back().debut, std::min(champs_.back().fin, finEnr));
        }
        debutEnregistrement_ = debut_;
        finEnregistrement_ = debut_ + finEnr;
        ligne_ = lignesLues_ + 1;
        lignesLues_ += lignes;
        debut_ += suite;
        brut_ = std::string_view(tampon_.data() + debutEnregistrement_,
                                 finEnregistrement_ - debutEnregistrement_);
        return Issue::Enregistrement;
    };

    for (;;) {
        if (p == disponible()) {
            if (!finEntree_ && p <= kEnregistrementMax) {
                remplir();
                continue;
            }
            if (!cite)
                return finir(p, p);
            break; // the quote never closes
        }
        const char c = octet(p);
        if (cite) {
            if (c == '"') {
                if (p + 1 == disponible() && !finEntree_) {
                    remplir();
                    continue; // "" or a closing quote: tell with the next byte
                }
                if (p + 1 < disponible() && octet(p + 1) == '"') {
                    p += 2;
                    continue;
                }
                cite = false;
            } else if (c == terminateur_) {
                if (premiereFin == std::string::npos)
                    premiereFin = p;
                ++lignes;
                if (p > kEnregistrementMax)
                    break;
            }
            ++p;
            continue;
        }
        if (c == '"' && p == debutChamp) {
            cite = true;
            champCite = champs_.size();
        } else if (c == separateur_) {
            champs_.push_back({debutChamp, p});
            debutChamp = p + 1;
        } else if (c == terminateur_) {
            return finir(p, p + 1);
        }
        ++p;
    }

    // An unclosed quote: the record is the line where it opened.
    colonne_ = champCite;
    std::size_t fin = premiereFin == std::string::npos ? disponible() : premiereFin;
    const std::size_t suite = premiereFin == std::string::npos ? fin : fin + 1;
    if (terminateur_ == '\n' && fin > 0 && octet(fin - 1) == '\r')
        --fin;
    champs_.clear();
    debutEnregistrement_ = debut_;
    finEnregistrement_ = debut_ + fin;
    ligne_ = ++lignesLues_;
    debut_ += suite;
    brut_ =
        std::string_view(tampon_.data() + debutEnregistrement_, finEnregistrement_ - debutEnregistrement_);
    return Issue::GuillemetNonFerme;
}

LecteurCsv::Issue LecteurCsv::relire(char separateur)
{
    separateur_ = separateur;
    debut_ = debutEnregistrement_;
    lignesLues_ = ligne_ - 1;
    return suivant();
}

std::string_view LecteurCsv::champBrut(std::size_t i) const
{
    const Champ& c = champs_[i];
    return {tampon_.data() + debutEnregistrement_ + c.debut, c.fin - c.debut};
}

std::string_view LecteurCsv::valeur(std::size_t i, std::string& tampon) const
{
    std::string_view brut = rogner(champBrut(i));
    if (brut.size() >= 2 && brut.front() == '"' && brut.back() == '"') {
        tampon.clear();
        for (std::size_t k = 1; k + 1 < brut.size(); ++k) {
            tampon += brut[k];
            if (brut[k] == '"' && brut[k + 1] == '"')
                ++k;
        }
        return rogner(tampon);
    }
    return brut;
}

} // namespace pavonis
