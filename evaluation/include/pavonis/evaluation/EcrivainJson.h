#pragma once

#include <pavonis/hostapi/Visibilite.h>

#include <string>
#include <string_view>

namespace pavonis {

// Writes JSON text, indented (two blanks a level) or on one line, for the
// exchange format, the FHIR response and the browser's component alike. Small objects and arrays can
// be kept on one line in indented text ("Cuisine": {"choix": "fait"}).
class PAVONIS_API EcrivainJson {
public:
    explicit EcrivainJson(bool indente) : indente_(indente) {}

    void ouvrirObjet(bool surUneLigne = false) { ouvrir('{', surUneLigne); }
    void fermerObjet() { fermer('}'); }
    void ouvrirTableau(bool surUneLigne = false) { ouvrir('[', surUneLigne); }
    void fermerTableau() { fermer(']'); }

    // A member's name; its value follows.
    void cle(std::string_view nom);
    // A text value, escaped: quote, backslash and every character from
    // U+0000 to U+001F. Raises Erreur (Saisie) naming the member when the
    // text is not UTF-8: the output is always valid UTF-8.
    void texte(std::string_view valeur);
    void entier(long long valeur);
    // A finite number, ten significant digits at most (not finite: 0).
    void nombre(double valeur);
    void booleen(bool valeur);
    void nul();

    std::string& resultat() { return texte_; }

private:
    void ouvrir(char c, bool surUneLigne);
    void fermer(char c);
    void avantValeur();
    void ecrireTexte(std::string_view valeur);
    void nouvelleLigne();

    std::string texte_;
    bool indente_;
    int niveau_ = 0;
    int surUneLigneDepuis_ = 0; // level from which the text stays on one line; 0: none
    bool premier_ = true;       // no member yet in the innermost object or array
    bool apresCle_ = false;
    std::string_view derniereCle_;
};

} // namespace pavonis
