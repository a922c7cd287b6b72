#include <pavonis/presentation/NomsAccessibles.h>

#include <pavonis/engine/GrilleAggir.h>
#include <pavonis/presentation/DescriptionEcran.h>

#include <array>

namespace pavonis::ecran {

namespace {

// A name as it is said: the screen writes capitals without their accent.
std::string dit(std::string_view libelle)
{
    std::string s(libelle);
    if (s.starts_with("Elimination"))
        s.replace(0, 1, "É");
    return s;
}

// "de" before a name, elided before a vowel or a mute h: « de Toilette »,
// « d'Élimination », « d'Habillage ».
std::string de(const std::string& nom)
{
    static constexpr std::array<std::string_view, 12> kVoyelles{"A", "E", "I", "O", "U", "Y",
                                                                "H", "É", "È", "Ê", "Â", "Î"};
    for (std::string_view v : kVoyelles)
        if (nom.starts_with(v))
            return "d'" + nom;
    return "de " + nom;
}

std::map<std::string_view, NomAccessible> construire()
{
    std::map<std::string_view, NomAccessible> noms;
    for (const LigneEvaluation& l : grille::kLignes) {
        const VariableAggir& v = grille::variable(l.variable);
        const std::string ligne = l.sousVariableImprimee.empty()
                                      ? dit(v.libelle)
                                      : dit(v.libelle) + ", " + std::string(l.sousVariableImprimee);
        const std::string aide = "F1 affiche ou masque l'aide de la variable.";
        noms[l.optionFait] = {ligne + " : Fait", aide, {}};
        noms[l.optionFaitPas] = {ligne + " : Ne fait pas", aide, {}};
        for (const DescriptionAdverbe& a : kAdverbes) {
            const std::string lettre(1, a.lettre);
            noms[l.caseAdverbe(a.adverbe)] = {
                ligne + " : " + lettre + " — " + std::string(a.nom),
                "Cochée si la condition n'est pas remplie.",
                lettre + "- " + std::string(a.nom) + " : " + std::string(a.definition) +
                    "\nLa case est noire (cochée) quand les conditions ne sont pas remplies."};
        }
        if (l.note != v.note)
            noms[l.note] = {"Modalité " + de(ligne), {}, {}};
    }
    for (const VariableAggir& v : grille::kVariables)
        noms[v.note] = {"Modalité de la variable " + dit(v.libelle), {}, {}};
    noms[kGroupe] = {"Groupe iso-ressources", {}, {}};
    noms[kSousGroupe] = {"Sous-groupe", {}, {}};
    noms[kDateEval] = {"A la date du", "Date de l'évaluation, jour/mois/année", {}};
    noms[kNomBenef] = {"Nom prénom du bénéficiaire", {}, {}};
    noms[kNomEnqueteur] = {"Nom de l'enquêteur", {}, {}};
    noms[kNavigateur] = {"Aide au remplissage", "Échap masque l'aide.", {}};
    noms[kBarreDefilement] = {"Défilement de l'écran", {}, {}};
    return noms;
}

} // namespace

const std::map<std::string_view, NomAccessible>& nomsAccessibles()
{
    static const std::map<std::string_view, NomAccessible> noms = construire();
    return noms;
}

} // namespace pavonis::ecran
