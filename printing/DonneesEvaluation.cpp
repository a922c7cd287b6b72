#include <pavonis/printing/DonneesEvaluation.h>

#include <pavonis/engine/GrilleAggir.h>
#include <pavonis/hostapi/Erreur.h>

namespace pavonis::impression {

namespace {

QString qs(std::string_view s)
{
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

[[noreturn]] void inconnu(std::string_view nom)
{
    throw Erreur(Erreur::Code::ObjetAbsent,
                 "Le contrôle « " + std::string(nom) + " » est inconnu de l'évaluation.");
}

} // namespace

DonneesEvaluation::DonneesEvaluation(const Evaluation& e, const ResultatsEvaluation& r)
{
    textes_.insert(QStringLiteral("Txt_NomBenef"), QString::fromStdString(e.beneficiaire));
    textes_.insert(QStringLiteral("Txt_NomEnqueteur"), QString::fromStdString(e.evaluateur));
    textes_.insert(QStringLiteral("Txt_DateEval"), QString::fromStdString(e.date));
    textes_.insert(QStringLiteral("Txt_Groupe"), QString::number(r.gir));
    textes_.insert(QStringLiteral("Txt_SousGroupe"), r.sousGroupe ? QString(QChar(r.sousGroupe)) : QString());
    for (std::size_t i = 0; i < grille::kLignes.size(); ++i) {
        const LigneEvaluation& l = grille::kLignes[i];
        const ReponseLigne& reponse = e.lignes[i];
        textes_.insert(qs(l.note), QString(QChar(r.notesLignes[i])));
        etats_.insert(qs(l.optionFait), reponse.choix == Choix::Fait);
        etats_.insert(qs(l.optionFaitPas), reponse.choix == Choix::NeFaitPas);
        for (Adverbe a : kAdverbes)
            etats_.insert(qs(l.caseAdverbe(a)), reponse.adverbes[static_cast<std::size_t>(a)]);
    }
    for (std::size_t k = 0; k < grille::kVariablesComposees.size(); ++k)
        textes_.insert(qs(grille::variable(grille::kVariablesComposees[k]).note),
                       QString(QChar(r.notesComposees[k])));
}

QString DonneesEvaluation::texte(std::string_view zone) const
{
    const auto it = textes_.constFind(qs(zone));
    if (it == textes_.cend())
        inconnu(zone);
    return *it;
}

bool DonneesEvaluation::optionSelectionnee(std::string_view option) const
{
    const auto it = etats_.constFind(qs(option));
    if (it == etats_.cend())
        inconnu(option);
    return *it;
}

bool DonneesEvaluation::caseCochee(std::string_view caseACocher) const
{
    return optionSelectionnee(caseACocher);
}

} // namespace pavonis::impression
