#include <pavonis/presentation/DonneesEvaluation.h>

#include <pavonis/engine/GrilleAggir.h>
#include <pavonis/hostapi/Erreur.h>

namespace pavonis::impression {

namespace {

[[noreturn]] void inconnu(std::string_view nom)
{
    throw Erreur(Erreur::Code::ObjetAbsent,
                 "Le contrôle « " + std::string(nom) + " » est inconnu de l'évaluation.");
}

std::string lettre(char c)
{
    return c ? std::string(1, c) : std::string();
}

} // namespace

DonneesEvaluation::DonneesEvaluation(const Evaluation& e, const ResultatsEvaluation& r)
{
    textes_["Txt_NomBenef"] = e.beneficiaire;
    textes_["Txt_NomEnqueteur"] = e.evaluateur;
    textes_["Txt_DateEval"] = e.date;
    textes_["Txt_Groupe"] = std::to_string(r.gir);
    textes_["Txt_SousGroupe"] = lettre(r.sousGroupe);
    for (std::size_t i = 0; i < grille::kLignes.size(); ++i) {
        const LigneEvaluation& l = grille::kLignes[i];
        const ReponseLigne& reponse = e.lignes[i];
        textes_[l.note] = lettre(r.notesLignes[i]);
        etats_[l.optionFait] = reponse.choix == Choix::Fait;
        etats_[l.optionFaitPas] = reponse.choix == Choix::NeFaitPas;
        for (const DescriptionAdverbe& a : kAdverbes)
            etats_[l.caseAdverbe(a.adverbe)] = reponse.adverbes[static_cast<std::size_t>(a.adverbe)];
    }
    for (std::size_t k = 0; k < grille::kVariablesComposees.size(); ++k)
        textes_[grille::variable(grille::kVariablesComposees[k]).note] = lettre(r.notesComposees[k]);
}

std::string DonneesEvaluation::texte(std::string_view zone) const
{
    const auto it = textes_.find(zone);
    if (it == textes_.end())
        inconnu(zone);
    return it->second;
}

bool DonneesEvaluation::optionSelectionnee(std::string_view option) const
{
    const auto it = etats_.find(option);
    if (it == etats_.end())
        inconnu(option);
    return it->second;
}

bool DonneesEvaluation::caseCochee(std::string_view caseACocher) const
{
    return optionSelectionnee(caseACocher);
}

} // namespace pavonis::impression
