#pragma once

#include <pavonis/engine/LigneEvaluation.h>
#include <pavonis/engine/VariableAggir.h>

#include <array>
#include <optional>
#include <string_view>

// The fixed tables of the AGGIR grid (2008 revision): the 24 evaluation rows,
// the 17 variables and the ten rows of the group weight tables. Every other
// part of the system takes the control names and labels from here.
namespace pavonis::grille {

inline constexpr std::size_t kNbLignes = 24;
inline constexpr std::size_t kNbVariables = 17;
inline constexpr std::size_t kNbLignesPoids = 10;
inline constexpr std::size_t kNbGroupes = 8;
inline constexpr std::array<char, kNbGroupes> kGroupes{'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H'};

namespace detail {
constexpr LigneEvaluation ligne(std::string_view cle, int variable, std::string_view sous,
                                std::string_view sousImprimee, std::string_view fait,
                                std::string_view faitPas, std::array<std::string_view, 4> cases,
                                std::string_view note, std::string_view cadre, std::string_view etiquette)
{
    return {cle, variable, sous, sousImprimee, fait, faitPas, cases, note, cadre, etiquette};
}
} // namespace detail

// Rows in the order of the variables' numbers, sub-variables in printed order.
inline constexpr std::array<LigneEvaluation, kNbLignes> kLignes{{
    detail::ligne("Transferts", 1, "", "", "Opt_TransfertsFait", "Opt_TransfertsFaitPas",
                  {"Cac_TransfertsS", "Cac_TransfertsT", "Cac_TransfertsC", "Cac_TransfertsH"},
                  "Txt_TransfertsNote", "Cdr_Transferts2008", "Etq_Transferts2008"),
    detail::ligne("DeplacInter", 2, "", "", "Opt_DeplacInterFait", "Opt_DeplacInterFaitPas",
                  {"Cac_DeplacInterS", "Cac_DeplacInterT", "Cac_DeplacInterC", "Cac_DeplacInterH"},
                  "Txt_DeplacInterNote", "Cdr_DeplacementsInterieurs2008", "Etq_DeplacementInterieurs2008"),
    detail::ligne("ToiletteH", 3, "Haut", "haut", "Opt_ToiletteHFait", "Opt_ToiletteHFaitPas",
                  {"Cac_ToiletteHS", "Cac_ToiletteHT", "Cac_ToiletteHC", "Cac_ToiletteHH"},
                  "Txt_ToiletteHNote", "Cdr_ToiletteHaut2008", "Etq_ToiletteHaut"),
    detail::ligne("ToiletteB", 3, "Bas", "bas", "Opt_ToiletteBFait", "Opt_ToiletteBFaitPas",
                  {"Cac_ToiletteBS", "Cac_ToiletteBT", "Cac_ToiletteBC", "Cac_ToiletteBH"},
                  "Txt_ToiletteBNote", "Cdr_ToiletteBas2008", "Etq_ToiletteBas"),
    detail::ligne("EliminationFecale", 4, "Fécale", "fécale", "Opt_EliminationFecaleFait",
                  "Opt_EliminationFecaleFaitPas",
                  {"Cac_EliminationFecaleS", "Cac_EliminationFecaleT", "Cac_EliminationFecaleC",
                   "Cac_EliminationFecaleH"},
                  "Txt_EliminationFecaleNote", "Cdr_EliminationFecale2008", "Etq_EliminationFecale"),
    detail::ligne("EliminationUrinaire", 4, "Urinaire", "urinaire", "Opt_EliminationUrinaireFait",
                  "Opt_EliminationUrinaireFaitPas",
                  {"Cac_EliminationUrinaireS", "Cac_EliminationUrinaireT", "Cac_EliminationUrinaireC",
                   "Cac_EliminationUrinaireH"},
                  "Txt_EliminationUrinaireNote", "Cdr_EliminationUrinaire2008", "Etq_EliminationUrinaire"),
    detail::ligne("HabillageH", 5, "Haut", "haut", "Opt_HabillageHautFait", "Opt_HabillageHFaitPas",
                  {"Cac_HabillageHS", "Cac_HabillageHT", "Cac_HabillageHC", "Cac_HabillageHH"},
                  "Txt_HabillageHautNote", "Cdr_HabillageHaut2008", "Etq_HabillageHaut"),
    detail::ligne("HabillageM", 5, "Moyen", "moyen", "Opt_HabillageMoyenFait", "Opt_HabillageMoyenFaitPas",
                  {"Cac_HabillageMS", "Cac_HabillageMT", "Cac_HabillageMC", "Cac_HabillageMH"},
                  "Txt_HabillageMNote", "Cdr_HabillageMoyen2008", "Etq_HabillageMoyen"),
    detail::ligne("HabillageB", 5, "Bas", "bas", "Opt_HabillageBFait", "Opt_HabillageBFaitPas",
                  {"Cac_HabillageBS", "Cac_HabillageBT", "Cac_HabillageBC", "Cac_HabillageBH"},
                  "Txt_HabillageBasNote", "Cdr_HabillageBas2008", "Etq_HabillageBas"),
    detail::ligne("Cuisine", 6, "", "", "Opt_CuisineFait", "Opt_CuisineFaitPas",
                  {"Cac_CuisineS", "Cac_CuisineT", "Cac_CuisineC", "Cac_CuisineH"}, "Txt_CuisineNote",
                  "Cdr_Cuisine2008", "Etq_Cuisine2008"),
    detail::ligne("AlimentationServir", 7, "Se servir", "se servir", "Opt_AlimentationServirFait",
                  "Opt_AlimentationServirFaitPas",
                  {"Cac_AlimentationServirS", "Cac_AlimentationServirT", "Cac_AlimentationServirC",
                   "Cac_AlimentationServirH"},
                  "Txt_AlimentationServirnote", "Cdr_AlimentationSeServir2008", "Etq_AlimantationSeServir"),
    detail::ligne("AlimentationManger", 7, "Manger", "manger", "Opt_AlimentationMangerFait",
                  "Opt_AlimentationMangerFaitPas",
                  {"Cac_AlimentationMangerS", "Cac_AlimentationMangerT", "Cac_AlimentationMangerC",
                   "Cac_AlimentationMangerH"},
                  "Txt_AlimentationMangerNote", "Cdr_AlimentationManger2008", "Etq_AlimentationManger"),
    detail::ligne(
        "SuiviTraitement", 8, "", "", "Opt_SuiviTraitementFait", "Opt_SuiviTraitementFaitPas",
        {"Cac_SuiviTraitementS", "Cac_SuiviTraitementT", "Cac_SuiviTraitementC", "Cac_SuiviTraitementH"},
        "Txt_SuiviTraitementNote", "Cdr_SuiviTraitement2008", "Etq_SuiviTraitement2008"),
    detail::ligne("Menage", 9, "", "", "Opt_MenageFait", "Opt_MenageFaitPas",
                  {"Cac_MenageS", "Cac_MenageT", "Cac_MenageC", "Cac_MenageH"}, "Txt_MenageNote",
                  "Cdr_Menage2008", "Etq_Menage2008"),
    detail::ligne("Alerter", 10, "", "", "Opt_AlerterFait", "Opt_AlerterFaitPas",
                  {"Cac_AlerterS", "Cac_AlerterT", "Cac_AlerterC", "Cac_AlerterH"}, "Txt_AlerterNote",
                  "Cdr_Alerter2008", "Etq_Alerter2008"),
    detail::ligne("DeplacExter", 11, "", "", "Opt_DeplacExterFait", "Opt_DeplacExterFaitPas",
                  {"Cac_DeplacExterS", "Cac_DeplacExterT", "Cac_DeplacExterC", "Cac_DeplacExterH"},
                  "Txt_DeplacExterNote", "Cdr_DeplacementsExterieurs2008", "Etq_DeplacementExterieurs2008"),
    detail::ligne("Transports", 12, "", "", "Opt_TransportsFait", "Opt_TransportsFaitPas",
                  {"Cac_TransportsS", "Cac_TransportsT", "Cac_TransportsC", "Cac_TransportsH"},
                  "Txt_TransportsNote", "Cdr_Transports2008", "Etq_Transports2008"),
    detail::ligne("ActivitesTempsLibre", 13, "", "", "Opt_ActivitesTempsLibreFait",
                  "Opt_ActivitesTempsLibreFaitPas",
                  {"Cac_ActivitesTempsLibreS", "Cac_ActivitesTempsLibreT", "Cac_ActivitesTempsLibreC",
                   "Cac_ActivitesTempsLibreH"},
                  "Txt_ActivitesTempsLibreNote", "Cdr_ActivitesTempsLibre", "Etq_ActivitesTempsLibre"),
    detail::ligne("Achats", 14, "", "", "Opt_AchatsFait", "Opt_AchatsFaitPas",
                  {"Cac_AchatsS", "Cac_AchatsT", "Cac_AchatsC", "Cac_AchatsH"}, "Txt_AchatsNote",
                  "Cdr_Achats2008", "Etq_Achats2008"),
    detail::ligne("Gestion", 15, "", "", "Opt_GestionFait", "Opt_GestionFaitPas",
                  {"Cac_GestionS", "Cac_GestionT", "Cac_GestionC", "Cac_GestionH"}, "Txt_GestionNote",
                  "Cdr_Gestion2008", "Etq_Gestion2008"),
    detail::ligne(
        "OrientationTemps", 16, "dans le temps", "dans le temps", "Opt_OrientationTempsFait",
        "Opt_OrientationTempsFaitPas",
        {"Cac_OrientationTempsS", "Cac_OrientationTempsT", "Cac_OrientationTempsC", "Cac_OrientationTempsH"},
        "Txt_OrientationTempsNote", "Cdr_OrientationTemps2008", "Label5"),
    detail::ligne("OrientationEspace", 16, "dans l'espace", "dans l'espace", "Opt_OrientationEspaceFait",
                  "Opt_OrientationEspaceFaitPas",
                  {"Cac_OrientationEspaceS", "Cac_OrientationEspaceT", "Cac_OrientationEspaceC",
                   "Cac_OrientationEspaceH"},
                  "Txt_OrientationEspaceNote", "Cdr_OrientationEspace2008", "Label6"),
    detail::ligne("CoherenceCommunication", 17, "Communication", "communication",
                  "Opt_CoherenceCommunicationFait", "Opt_CoherenceCommunicationFaitPas",
                  {"Cac_CoherenceCommunicationS", "Cac_CoherenceCommunicationT",
                   "Cac_CoherenceCommunicationC", "Cac_CoherenceCommunicationH"},
                  "Txt_CoherenceCommunicationNote", "Cdr_CoherenceCommunication2008", "Label7"),
    detail::ligne("CoherenceComportement", 17, "Comportement", "comportement",
                  "Opt_CoherenceComportementFait", "Opt_CoherenceComportementFaitPas",
                  {"Cac_CoherenceComportementS", "Cac_CoherenceComportementT", "Cac_CoherenceComportementC",
                   "Cac_CoherenceComportementH"},
                  "Txt_CoherenceComportementNote", "Cdr_CoherenceComportement2008", "Label8"),
}};

namespace detail {
// A variable without sub-variables: its frame, label and note are its row's.
constexpr VariableAggir simple(int numero, std::string_view libelle, std::string_view imprime, Nature nature,
                               std::string_view cle, std::size_t ligne)
{
    const LigneEvaluation& l = kLignes[ligne];
    return {
        numero, libelle, imprime, nature, cle, l.cadre, l.etiquette, l.note, ligne, 1, RegleComposee::Aucune};
}
constexpr VariableAggir composee(int numero, std::string_view libelle, std::string_view imprime,
                                 std::string_view cle, std::string_view cadre, std::string_view etiquette,
                                 std::string_view note, std::size_t premiere, std::size_t nb,
                                 RegleComposee regle)
{
    return {numero,   libelle, imprime, Nature::Discriminante, cle, cadre, etiquette, note,
            premiere, nb,      regle};
}
} // namespace detail

// The 17 variables, by number.
inline constexpr std::array<VariableAggir, kNbVariables> kVariables{{
    detail::simple(1, "Transferts", " 1- Transferts", Nature::Discriminante, "transferts", 0),
    detail::simple(2, "Déplacements intérieurs", " 2- Déplacements intérieurs", Nature::Discriminante,
                   "deplacements_interieurs", 1),
    detail::composee(3, "Toilette", " 3- Toilette", "toilette", "Cdr_Toilette2008", "Etq_Toilette2008",
                     "Txt_ToiletteNote", 2, 2, RegleComposee::Toilette),
    detail::composee(4, "Elimination", " 4- Elimination", "elimination", "Cdr_Elimination2008",
                     "Etq_Elimination2008", "Txt_EliminationNote", 4, 2, RegleComposee::Elimination),
    detail::composee(5, "Habillage", " 5- Habillage", "habillage", "Cdr_Habillage2008", "Etq_Habillage2008",
                     "Txt_HabillageNote", 6, 3, RegleComposee::Habillage),
    detail::simple(6, "Cuisine", " 6- Cuisine", Nature::Illustrative, "cuisine", 9),
    detail::composee(7, "Alimentation", " 7- Alimentation", "alimentation", "Cdr_Alimentation2008",
                     "Etq_Alimentation2008", "Txt_AlimentationNote", 10, 2, RegleComposee::Alimentation),
    detail::simple(8, "Suivi du traitement", " 8- Suivi du traitement", Nature::Illustrative,
                   "suivi_traitement", 12),
    detail::simple(9, "Ménage", " 9- Ménage", Nature::Illustrative, "menage", 13),
    detail::simple(10, "Alerter", " 10- Alerter", Nature::Discriminante, "alerter", 14),
    detail::simple(11, "Déplacements extérieurs", " 11- Déplacements extérieurs", Nature::Discriminante,
                   "deplacements_exterieurs", 15),
    detail::simple(12, "Transports", " 12- Transports", Nature::Illustrative, "transports", 16),
    detail::simple(13, "Activités temps libre", " 13- Activités temps libre", Nature::Illustrative,
                   "activites_temps_libre", 17),
    detail::simple(14, "Achats", " 14- Achats", Nature::Illustrative, "achats", 18),
    detail::simple(15, "Gestion", " 15- Gestion", Nature::Illustrative, "gestion", 19),
    detail::composee(16, "Orientation", " 16- Orientation", "orientation", "Cdr_Orientation2008",
                     "Etq_Orientation2008", "Txt_OrientationNote", 20, 2, RegleComposee::Orientation),
    detail::composee(17, "Cohérence", " 17- Cohérence", "coherence", "Cdr_Coherence2008", "Etq_Coherence2008",
                     "Txt_CoherenceNote", 22, 2, RegleComposee::Coherence),
}};

// The six variables made of sub-variables, in the order their notes are derived.
inline constexpr std::array<int, 6> kVariablesComposees{3, 4, 5, 7, 16, 17};

// Rows 1 to 10 of every group weight table: the variable each one weighs.
inline constexpr std::array<int, kNbLignesPoids> kVariablesPonderees{17, 16, 3, 5, 7, 4, 1, 2, 11, 10};
inline constexpr int kVariableAlerter = 10;
inline constexpr int kVariableDeplacExter = 11;

// The order of the printed report: discriminant variables, then illustrative.
inline constexpr std::array<int, 10> kOrdreDiscriminantes{1, 2, 3, 4, 5, 7, 10, 11, 16, 17};
inline constexpr std::array<int, 7> kOrdreIllustratives{6, 8, 9, 12, 13, 14, 15};

constexpr const VariableAggir& variable(int numero)
{
    return kVariables[static_cast<std::size_t>(numero - 1)];
}
constexpr const VariableAggir& variableDeLigne(const LigneEvaluation& l)
{
    return variable(l.variable);
}

// Index of the row of that key, if any.
std::optional<std::size_t> indexLigne(std::string_view cle);

// Index (0-7) of a group letter "A".."H", if it is one.
constexpr std::optional<std::size_t> indexGroupe(char groupe)
{
    if (groupe < 'A' || groupe > 'H')
        return std::nullopt;
    return static_cast<std::size_t>(groupe - 'A');
}

} // namespace pavonis::grille
