// Writes the screen as the desktop builds it, for the browser's component:
// a constant of its script (ecran.js) with every control, the focus order, the moved
// set, the layouts, the help pane's rule, the grid's rows and the
// accessible names. Run by Node when the bundle is built.

#include <pavonis/engine/GrilleAggir.h>
#include <pavonis/evaluation/EcrivainJson.h>
#include <pavonis/presentation/DescriptionEcran.h>
#include <pavonis/presentation/NomsAccessibles.h>

#include <cstdio>

using namespace pavonis;

namespace {

constexpr const char* kGenres[] = {"etiquette", "zone",   "cadre", "bouton",
                                   "case",      "option", "barre", "navigateur"};

void taille(EcrivainJson& j, const char* nom, int largeur, int hauteur)
{
    j.cle(nom);
    j.ouvrirObjet(true);
    j.cle("largeur");
    j.entier(largeur);
    j.cle("hauteur");
    j.entier(hauteur);
    j.fermerObjet();
}

void noms(EcrivainJson& j, const char* cle, const std::vector<std::string_view>& v)
{
    j.cle(cle);
    j.ouvrirTableau(true);
    for (std::string_view n : v)
        j.texte(n);
    j.fermerTableau();
}

} // namespace

int main()
{
    EcrivainJson j(false); // compact: the browser parses it on every page load
    j.ouvrirObjet();
    taille(j, "surface", ecran::kLargeurSurface, ecran::kHauteurSurface);
    taille(j, "grande", ecran::kLargeurGrande, ecran::kHauteurGrande);
    taille(j, "petite", ecran::kLargeurPetite, ecran::kHauteurPetite);
    j.cle("ecranGrandPixels");
    j.nombre(double(ecran::kEcranGrandPixels));
    j.cle("pas");
    j.entier(ecran::kPasDefilement);
    j.cle("volet");
    j.ouvrirObjet(true);
    j.cle("haut");
    j.entier(ecran::kVoletHaut);
    j.cle("largeur");
    j.entier(ecran::kVoletLargeur);
    j.cle("hauteur");
    j.entier(ecran::kVoletHauteur);
    j.fermerObjet();
    j.cle("textes");
    j.ouvrirObjet(true);
    j.cle("titre");
    j.texte(ecran::kTitreFenetre);
    j.cle("dateRefusee");
    j.texte(ecran::kMessageDateRefusee);
    j.cle("titreDate");
    j.texte(ecran::kTitreMessageDate);
    j.fermerObjet();

    j.cle("controles");
    j.ouvrirTableau();
    for (const DescriptionControle& d : ecran::controles()) {
        j.ouvrirObjet(true);
        j.cle("nom");
        j.texte(d.nom);
        j.cle("genre");
        j.texte(kGenres[static_cast<int>(d.genre)]);
        j.cle("conteneur");
        j.texte(d.conteneur);
        for (const auto& [cle, v] : {std::pair{"gauche", d.gauche},
                                     {"haut", d.haut},
                                     {"largeur", d.largeur},
                                     {"hauteur", d.hauteur}}) {
            j.cle(cle);
            j.entier(v);
        }
        if (!d.legende.empty()) {
            j.cle("legende");
            j.texte(d.legende);
        }
        for (const auto& [cle, v] : {std::pair{"lectureSeule", d.lectureSeule},
                                     {"fondOrange", d.fondOrange},
                                     {"grandePolice", d.grandePolice},
                                     {"retourALaLigne", d.retourALaLigne}})
            if (v) {
                j.cle(cle);
                j.booleen(true);
            }
        j.fermerObjet();
    }
    j.fermerTableau();
    noms(j, "tabulation", ecran::ordreTabulation());
    noms(j, "deplaces", ecran::controlesDeplaces());

    // The 17 variables: what a hover or F1 shows, and where.
    j.cle("variables");
    j.ouvrirTableau();
    for (int numero = 1; numero <= int(grille::kNbVariables); ++numero) {
        const VariableAggir& v = grille::variable(numero);
        j.ouvrirObjet(true);
        j.cle("numero");
        j.entier(numero);
        j.cle("cadre");
        j.texte(v.cadre);
        j.cle("etiquette");
        j.texte(v.etiquette);
        j.cle("gaucheVolet");
        j.entier(ecran::gaucheVoletAide(numero));
        j.fermerObjet();
    }
    j.fermerTableau();
    // The two column headings and the row whose boxes they title.
    j.cle("entetes");
    j.ouvrirTableau();
    for (const auto& [etiquette, numero] :
         {std::pair{ecran::kEtiquetteDiscriminantes, grille::kOrdreDiscriminantes.front()},
          {ecran::kEtiquetteIllustratives, grille::kOrdreIllustratives.front()}}) {
        j.ouvrirObjet(true);
        j.cle("etiquette");
        j.texte(etiquette);
        j.cle("ligne");
        j.entier(static_cast<long long>(grille::variable(numero).premiereLigne));
        j.fermerObjet();
    }
    j.fermerTableau();
    {
        std::vector<std::string_view> mots(ecran::kMotsColonnes.begin(), ecran::kMotsColonnes.end());
        noms(j, "motsColonnes", mots);
    }
    j.cle("lignes");
    j.ouvrirTableau();
    for (const LigneEvaluation& l : grille::kLignes) {
        j.ouvrirObjet(true);
        j.cle("variable");
        j.entier(l.variable);
        j.cle("cadre");
        j.texte(l.cadre);
        j.cle("fait");
        j.texte(l.optionFait);
        j.cle("faitPas");
        j.texte(l.optionFaitPas);
        j.cle("cases");
        j.ouvrirTableau(true);
        for (std::string_view c : l.cases)
            j.texte(c);
        j.fermerTableau();
        j.cle("note");
        j.texte(l.note);
        j.fermerObjet();
    }
    j.fermerTableau();
    j.cle("accessibles");
    j.ouvrirObjet();
    for (const auto& [nom, a] : ecran::nomsAccessibles()) {
        j.cle(nom);
        j.ouvrirObjet(true);
        j.cle("nom");
        j.texte(a.nom);
        if (!a.description.empty()) {
            j.cle("description");
            j.texte(a.description);
        }
        if (!a.bulle.empty()) {
            j.cle("bulle");
            j.texte(a.bulle);
        }
        j.fermerObjet();
    }
    j.fermerObjet();
    j.fermerObjet();
    // A string for JSON.parse, which V8 reads faster than an object literal.
    std::string litteral;
    for (char c : j.resultat()) {
        if (c == '\\' || c == '\'')
            litteral += '\\';
        litteral += c;
    }
    std::printf(
        "// Generated from the desktop screen's description: do not edit.\nconst ecran = JSON.parse('%s');\n",
        litteral.c_str());
    return 0;
}
