#pragma once

#include <pavonis/presentation/DescriptionControle.h>

#include <string_view>
#include <vector>

// The one screen of the control, as data: every control with its container,
// position, size, caption and look, in creation order, and the order in
// which Tab visits them.
namespace pavonis::ecran {

inline constexpr int kLargeurSurface = 14730;
inline constexpr int kHauteurSurface = 10590;

inline constexpr std::string_view kEnteteDiscriminantes =
    "  Variables discriminantes                   Fait    Ne fait pas       S        T        C        H";
inline constexpr std::string_view kEnteteIllustratives =
    "  Variables illustratives                                  Fait    Ne fait pas       S        T        C"
    "        H";
inline constexpr std::string_view kTexteAide =
    "Cliquez sur le nom d'une variable pour afficher ou masquer l'aide au remplissage.";

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
