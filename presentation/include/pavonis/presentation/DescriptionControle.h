#pragma once

#include <string_view>

namespace pavonis {

enum class GenreControle { Etiquette, ZoneTexte, Cadre, Bouton, Case, Option, BarreDefilement, Navigateur };

// One control of the screen: where it sits (twips, relative to its
// container), what it says and how it looks before any code has run.
struct DescriptionControle {
    std::string_view nom;
    GenreControle genre;
    std::string_view conteneur; // "" for the surface itself
    int gauche, haut, largeur, hauteur;
    std::string_view legende;  // labels, buttons, the titled frame
    bool lectureSeule = false; // note and result boxes: code writes them, the user cannot
    int longueurMax = 0;       // 0: no limit
    bool fondOrange = false;   // the 17 variable names
    bool grandePolice = false; // the GIR and its sub-group
    bool retourALaLigne = false;
};

} // namespace pavonis
