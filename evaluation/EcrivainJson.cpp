#include <pavonis/evaluation/EcrivainJson.h>

#include <cmath>
#include <cstdio>

#include <pavonis/hostapi/Erreur.h>

#include <simdjson.h>

namespace pavonis {

void EcrivainJson::nouvelleLigne()
{
    if (!indente_ || surUneLigneDepuis_)
        return;
    texte_ += '\n';
    texte_.append(static_cast<std::size_t>(2 * niveau_), ' ');
}

void EcrivainJson::avantValeur()
{
    if (apresCle_) {
        apresCle_ = false;
        return;
    }
    if (niveau_ == 0)
        return;
    if (!premier_)
        texte_ += indente_ && surUneLigneDepuis_ ? ", " : ",";
    premier_ = false;
    nouvelleLigne();
}

void EcrivainJson::ouvrir(char c, bool surUneLigne)
{
    avantValeur();
    texte_ += c;
    ++niveau_;
    premier_ = true;
    if (surUneLigne && !surUneLigneDepuis_)
        surUneLigneDepuis_ = niveau_;
}

void EcrivainJson::fermer(char c)
{
    const bool vide = premier_;
    --niveau_;
    if (!vide)
        nouvelleLigne();
    texte_ += c;
    if (surUneLigneDepuis_ > niveau_)
        surUneLigneDepuis_ = 0;
    premier_ = false;
    if (niveau_ == 0 && indente_)
        texte_ += '\n';
}

void EcrivainJson::cle(std::string_view nom)
{
    avantValeur();
    ecrireTexte(nom);
    texte_ += indente_ ? ": " : ":";
    apresCle_ = true;
    derniereCle_ = nom;
}

void EcrivainJson::texte(std::string_view valeur)
{
    if (!simdjson::validate_utf8(valeur.data(), valeur.size()))
        throw Erreur(Erreur::Code::Saisie,
                     "« " + std::string(derniereCle_) +
                         " » n'est pas un texte UTF-8 : il ne peut pas être écrit en JSON.");
    avantValeur();
    ecrireTexte(valeur);
}

void EcrivainJson::ecrireTexte(std::string_view valeur)
{
    static constexpr char kHex[] = "0123456789abcdef";
    texte_ += '"';
    for (const char c : valeur) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            texte_ += '\\';
            texte_ += c;
        } else if (u < 0x20) {
            texte_ += "\\u00";
            texte_ += kHex[u >> 4];
            texte_ += kHex[u & 0xF];
        } else {
            texte_ += c;
        }
    }
    texte_ += '"';
}

void EcrivainJson::entier(long long valeur)
{
    avantValeur();
    texte_ += std::to_string(valeur);
}

void EcrivainJson::nombre(double valeur)
{
    avantValeur();
    // Twips and weights: short decimals, read back exactly as written.
    char tampon[32];
    std::snprintf(tampon, sizeof tampon, "%.10g", std::isfinite(valeur) ? valeur : 0.0);
    texte_ += tampon;
}

void EcrivainJson::booleen(bool valeur)
{
    avantValeur();
    texte_ += valeur ? "true" : "false";
}

void EcrivainJson::nul()
{
    avantValeur();
    texte_ += "null";
}

} // namespace pavonis
