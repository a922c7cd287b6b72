#include <pavonis/presentation/DescriptionEcran.h>

#include <pavonis/engine/GrilleAggir.h>

#include <array>

namespace pavonis::ecran {

namespace {

using enum GenreControle;

constexpr int kGaucheColonneGauche = 120;
constexpr int kGaucheColonneDroite = 7320;
constexpr int kLargeurCadre = 6975;
constexpr int kCote = 255; // option buttons and check boxes
constexpr int kLargeurNote = 255;
constexpr int kHauteurNote = 285;
constexpr int kHauteurEtiquette = 255;
constexpr int kHautCases = 120;

// A variable's frame: its place in its column and the place of its name and
// note inside it.
struct CadreVariable {
    int numero;
    int haut, hauteur;
    int etiquetteHaut, etiquetteLargeur;
    int noteHaut;
};

// Top to bottom: the left column, then the right one.
constexpr std::array<CadreVariable, 17> kCadres{{
    {1, 840, 495, 120, 1815, 120},
    {2, 1320, 495, 120, 1815, 120},
    {3, 1800, 1215, 240, 975, 480},
    {4, 3000, 1215, 240, 975, 480},
    {5, 4200, 1695, 120, 975, 720},
    {7, 5880, 1215, 240, 975, 480},
    {10, 7080, 495, 120, 1815, 120},
    {11, 7560, 495, 120, 1815, 120},
    {16, 8040, 1215, 240, 975, 480},
    {17, 9240, 1215, 240, 975, 480},
    {6, 840, 495, 120, 1455, 120},
    {8, 1320, 495, 120, 1455, 120},
    {9, 1800, 495, 120, 1455, 120},
    {12, 2280, 495, 120, 1455, 120},
    {13, 2760, 495, 120, 1455, 120},
    {14, 3240, 495, 120, 1455, 120},
    {15, 3720, 495, 120, 1455, 120},
}};

// Sub-frames: in their composite frame at Left 1200, one under the other.
constexpr int kGaucheSousCadre = 1200;
constexpr int kLargeurSousCadre = 5295;
constexpr int kHauteurSousCadre = 495;
constexpr std::array<int, 3> kHautsSousCadres{120, 600, 1080};
// Width of each sub-variable's name, in row order.
constexpr std::array<int, grille::kNbLignes> kLargeurEtiquetteLigne{
    0, 0, 735, 615, 735, 735, 735, 735, 735, 0, 735, 735, 0, 0, 0, 0, 0, 0, 0, 0, 1215, 1215, 1215, 1095};

// Left edges of a row's boxes, by kind of row: "Fait", "Ne fait pas", S, T,
// C, H, note.
struct Colonnes {
    int fait, faitPas;
    std::array<int, 4> cases; // S, T, C, H
    int note;
};
constexpr Colonnes kColonnesGauche{2640, 3360, {4080, 4545, 5010, 5475}, 6600};
constexpr Colonnes kColonnesSousLigne{1440, 2160, {2880, 3345, 3810, 4275}, 4920};
constexpr Colonnes kColonnesDroite{3120, 3840, {4560, 5025, 5490, 5955}, 6600};

DescriptionControle note(std::string_view nom, std::string_view conteneur, int gauche, int haut)
{
    DescriptionControle d{nom, ZoneTexte, conteneur, gauche, haut, kLargeurNote, kHauteurNote, {}};
    d.lectureSeule = true;
    d.longueurMax = 1;
    return d;
}

// The boxes of one evaluation row, in its frame.
void ajouterCases(std::vector<DescriptionControle>& v, const LigneEvaluation& l, std::string_view cadre,
                  const Colonnes& c, bool avecNote)
{
    v.push_back({l.optionFait, Option, cadre, c.fait, kHautCases, kCote, kCote, {}});
    v.push_back({l.optionFaitPas, Option, cadre, c.faitPas, kHautCases, kCote, kCote, {}});
    for (const DescriptionAdverbe& a : kAdverbes)
        v.push_back({l.caseAdverbe(a.adverbe),
                     Case,
                     cadre,
                     c.cases[static_cast<std::size_t>(a.adverbe)],
                     kHautCases,
                     kCote,
                     kCote,
                     {}});
    if (avecNote)
        v.push_back(note(l.note, cadre, c.note, kHautCases));
}

std::vector<DescriptionControle> construire()
{
    std::vector<DescriptionControle> v;
    v.reserve(253);
    v.push_back({kNomEnqueteurEtiquette, Etiquette, {}, 240, 120, 1695, 255, "Nom de l'enquêteur"});
    v.push_back({kNomEnqueteur, ZoneTexte, {}, 2040, 120, 5055, 285, {}});
    v.push_back({kBarreDefilement, BarreDefilement, {}, 14400, 120, 255, 6495, {}});
    v.push_back({kEtiquetteDiscriminantes, Etiquette, {}, 120, 600, 6975, 375, kEnteteDiscriminantes});
    v.push_back({kEtiquetteIllustratives, Etiquette, {}, 7320, 600, 6975, 375, kEnteteIllustratives});

    for (const CadreVariable& c : kCadres) {
        const VariableAggir& var = grille::variable(c.numero);
        const bool droite = var.nature == Nature::Illustrative;
        v.push_back({var.cadre,
                     Cadre,
                     {},
                     droite ? kGaucheColonneDroite : kGaucheColonneGauche,
                     c.haut,
                     kLargeurCadre,
                     c.hauteur,
                     {}});
        DescriptionControle etiquette{var.etiquette,   Etiquette,          var.cadre,         120,
                                      c.etiquetteHaut, c.etiquetteLargeur, kHauteurEtiquette, var.libelle};
        etiquette.fondOrange = true;
        v.push_back(etiquette);
        if (!var.composee()) {
            ajouterCases(v, grille::kLignes[var.premiereLigne], var.cadre,
                         droite ? kColonnesDroite : kColonnesGauche, true);
            continue;
        }
        v.push_back(note(var.note, var.cadre, 6600, c.noteHaut));
        for (std::size_t i = 0; i < var.nbLignes; ++i) {
            const std::size_t r = var.premiereLigne + i;
            const LigneEvaluation& l = grille::kLignes[r];
            v.push_back({l.cadre,
                         Cadre,
                         var.cadre,
                         kGaucheSousCadre,
                         kHautsSousCadres[i],
                         kLargeurSousCadre,
                         kHauteurSousCadre,
                         {}});
            v.push_back({l.etiquette, Etiquette, l.cadre, 120, 120, kLargeurEtiquetteLigne[r],
                         kHauteurEtiquette, l.sousVariable});
            ajouterCases(v, l, l.cadre, kColonnesSousLigne, true);
        }
    }

    v.push_back({kNavigateur, Navigateur, {}, 7320, 4320, 1455, 615, {}});
    DescriptionControle aide{kEtiquetteAide, Etiquette, {}, 7320, 5040, 6015, 615, kTexteAide};
    aide.retourALaLigne = true;
    v.push_back(aide);

    v.push_back({kCadreResultat, Cadre, {}, 10320, 6600, 3735, 3015, "Groupe iso-ressources"});
    v.push_back({"Etq_Groupe", Etiquette, kCadreResultat, 360, 480, 1575, 375, "Groupe"});
    DescriptionControle groupe{kGroupe, ZoneTexte, kCadreResultat, 3120, 360, 375, 555, {}};
    groupe.lectureSeule = true;
    groupe.longueurMax = 1;
    groupe.grandePolice = true;
    v.push_back(groupe);
    v.push_back({"Etq_SousGroupe", Etiquette, kCadreResultat, 360, 1200, 1575, 375, "Sous-groupe"});
    DescriptionControle sousGroupe = groupe;
    sousGroupe.nom = kSousGroupe;
    sousGroupe.haut = 1080;
    v.push_back(sousGroupe);
    v.push_back({"Etq_ALaDateDu", Etiquette, kCadreResultat, 360, 1800, 1215, 375, "A la date du"});
    v.push_back({kDateEval, ZoneTexte, kCadreResultat, 2520, 1800, 975, 285, {}});
    v.push_back(
        {"Etq_NomPrenom", Etiquette, kCadreResultat, 360, 2280, 2055, 255, "Nom prénom du bénéficiaire"});
    v.push_back({kNomBenef, ZoneTexte, kCadreResultat, 240, 2520, 3255, 285, {}});

    v.push_back({kNouvelleEvaluation, Bouton, {}, 8040, 7440, 1695, 375, "Nouvelle évaluation"});
    v.push_back({kImprimer, Bouton, {}, 8040, 8520, 1695, 375, "Imprimer"});
    v.push_back({kRetour, Bouton, {}, 12960, 9960, 855, 375, "Retour"});
    return v;
}

// Inside a row's frame: the note, the option group, then S, T, C, H.
void tabulationLigne(std::vector<std::string_view>& v, const LigneEvaluation& l)
{
    v.push_back(l.note);
    v.push_back(l.optionFait);
    v.push_back(l.optionFaitPas);
    for (const DescriptionAdverbe& a : kAdverbes)
        v.push_back(l.caseAdverbe(a.adverbe));
}

std::vector<std::string_view> construireTabulation()
{
    std::vector<std::string_view> v{kNavigateur,         kNomEnqueteur, kRetour,     kImprimer,
                                    kNouvelleEvaluation, kDateEval,     kSousGroupe, kGroupe};
    for (int numero : {15, 8, 9, 12, 13, 14, 6, 17, 16, 11, 10, 7, 2, 5, 4, 3, 1}) {
        const VariableAggir& var = grille::variable(numero);
        if (!var.composee()) {
            tabulationLigne(v, grille::kLignes[var.premiereLigne]);
            continue;
        }
        v.push_back(var.note);
        // Elimination and Orientation visit their bottom row first.
        const bool basDAbord = numero == 4 || numero == 16;
        for (std::size_t i = 0; i < var.nbLignes; ++i)
            tabulationLigne(v, grille::kLignes[var.premiereLigne + (basDAbord ? var.nbLignes - 1 - i : i)]);
    }
    v.push_back(kNomBenef);
    v.push_back(kBarreDefilement);
    return v;
}

} // namespace

const std::vector<DescriptionControle>& controles()
{
    static const std::vector<DescriptionControle> v = construire();
    return v;
}

const std::vector<std::string_view>& ordreTabulation()
{
    static const std::vector<std::string_view> v = construireTabulation();
    return v;
}

const std::vector<std::string_view>& controlesDeplaces()
{
    static const std::vector<std::string_view> v = [] {
        std::vector<std::string_view> noms;
        for (const DescriptionControle& d : controles())
            if (d.conteneur.empty() && d.nom != kBarreDefilement)
                noms.push_back(d.nom);
        return noms;
    }();
    return v;
}

int gaucheVoletAide(int numero)
{
    return grille::variable(numero).nature == Nature::Discriminante ? kGaucheColonneDroite
                                                                    : kGaucheColonneGauche;
}

} // namespace pavonis::ecran
