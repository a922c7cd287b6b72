#pragma once

#include <pavonis/presentation/DescriptionControle.h>

#include <array>
#include <string_view>
#include <vector>

// The one screen of the control, as data: every control with its container,
// position, size, caption and look, in creation order, and the order in
// which Tab visits them.
namespace pavonis::ecran {

inline constexpr int kLargeurSurface = 14730;
inline constexpr int kHauteurSurface = 10590;

// The two layouts of the host window and the control, chosen by the
// screen's height each time the control is shown; the smaller one scrolls
// by steps of 250 twips.
inline constexpr float kEcranGrandPixels = 768.0f;
inline constexpr int kHauteurGrande = 11000, kLargeurGrande = 14480;
inline constexpr int kHauteurPetite = 7560, kLargeurPetite = 14775;
inline constexpr int kPasDefilement = 250;

// The help pane over the other column (its left edge: gaucheVoletAide).
inline constexpr int kVoletHaut = 1320, kVoletLargeur = 6975, kVoletHauteur = 5295;

inline constexpr std::string_view kEnteteDiscriminantes =
    "  Variables discriminantes                   Fait    Ne fait pas       S        T        C        H";
inline constexpr std::string_view kEnteteIllustratives =
    "  Variables illustratives                                  Fait    Ne fait pas       S        T        C"
    "        H";
// The words of the two headings that title the columns of boxes, in column
// order ("Fait", "Ne fait pas", S, T, C, H): drawn centred over them.
inline constexpr std::array<std::string_view, 6> kMotsColonnes{"Fait", "Ne fait pas", "S", "T", "C", "H"};
inline constexpr std::string_view kTexteAide =
    "Cliquez sur le nom d'une variable pour afficher ou masquer l'aide au remplissage.";

// The host window's caption, set by Init, and the message of a refused date.
inline constexpr std::string_view kTitreFenetre = "Outil grille Aggir révision 2008";
inline constexpr std::string_view kMessageDateRefusee =
    "Erreur de saisie dans la date, veuillez la ressaisir.";
inline constexpr std::string_view kTitreMessageDate = "Message NORVELIS";

// Controls outside the grid.
inline constexpr std::string_view kNomEnqueteurEtiquette = "Etq_NomEnqueteeur";
inline constexpr std::string_view kNomEnqueteur = "Txt_NomEnqueteur";
inline constexpr std::string_view kBarreDefilement = "Bdv_Controles";
inline constexpr std::string_view kEtiquetteDiscriminantes = "Etq_VariablesDiscriminantes2008";
inline constexpr std::string_view kEtiquetteIllustratives = "Etq_VariablesIllustratives2008";
inline constexpr std::string_view kNavigateur = "WB_Aide";
inline constexpr std::string_view kEtiquetteAide = "Etq_Aide";
inline constexpr std::string_view kCadreResultat = "Cdr_GroupeIsoRessource";
inline constexpr std::string_view kNouvelleEvaluation = "Cmd_NouvelleEval";
inline constexpr std::string_view kImprimer = "Cmd_Imprimer";
inline constexpr std::string_view kRetour = "Cmd_Retour";
inline constexpr std::string_view kGroupe = "Txt_Groupe";
inline constexpr std::string_view kSousGroupe = "Txt_SousGroupe";
inline constexpr std::string_view kDateEval = "Txt_DateEval";
inline constexpr std::string_view kNomBenef = "Txt_NomBenef";

const std::vector<DescriptionControle>& controles();

// Tab order of the controls that take the focus.
const std::vector<std::string_view>& ordreTabulation();

// The controls placed directly on the surface other than the scroll bar:
// what the scroll bar moves.
const std::vector<std::string_view>& controlesDeplaces();

// Left edge of the help pane over the other column, for variable `numero`.
int gaucheVoletAide(int numero);

} // namespace pavonis::ecran
