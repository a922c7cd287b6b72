#include "EcranEssai.h"

#include <GrilleAggir.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>

#include <stdexcept>

using namespace pavonis;

namespace {

QString nomQt(std::string_view s)
{
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

template <typename W> W* cree(QWidget* parent, std::string_view nom)
{
    auto* w = new W(parent);
    w->setObjectName(nomQt(nom));
    return w;
}

const LigneEvaluation& ligne(std::string_view cle)
{
    const auto i = grille::indexLigne(cle);
    if (!i)
        throw std::invalid_argument(std::string(cle));
    return grille::kLignes[*i];
}

} // namespace

EcranEssai::EcranEssai()
{
    setObjectName(QStringLiteral("Uc_Pavonis"));
    for (const char* nom :
         {"Txt_NomBenef", "Txt_NomEnqueteur", "Txt_DateEval", "Txt_Groupe", "Txt_SousGroupe"})
        cree<QLineEdit>(this, nom);
    // As on the screen: each row in its own frame, so its two options are
    // exclusive of each other only.
    for (const LigneEvaluation& l : grille::kLignes) {
        auto* cadre = cree<QWidget>(this, l.cadre);
        cree<QRadioButton>(cadre, l.optionFait)->setChecked(true);
        cree<QRadioButton>(cadre, l.optionFaitPas);
        for (Adverbe a : kAdverbes)
            cree<QCheckBox>(cadre, l.caseAdverbe(a));
        cree<QLineEdit>(cadre, l.note)->setText(QStringLiteral("A"));
    }
    for (const VariableAggir& v : grille::kVariables)
        if (v.composee())
            cree<QLineEdit>(this, v.note)->setText(QStringLiteral("A"));
    zone("Txt_Groupe").setText(QStringLiteral("6"));
    zone("Txt_SousGroupe").setText(QStringLiteral("A"));
}

template <typename W> W& EcranEssai::controle(std::string_view nom) const
{
    auto* w = findChild<W*>(nomQt(nom));
    if (!w)
        throw std::invalid_argument(std::string(nom));
    return *w;
}

QRadioButton& EcranEssai::fait(std::string_view cle) const
{
    return controle<QRadioButton>(ligne(cle).optionFait);
}

QRadioButton& EcranEssai::faitPas(std::string_view cle) const
{
    return controle<QRadioButton>(ligne(cle).optionFaitPas);
}

QCheckBox& EcranEssai::adverbe(std::string_view cle, Adverbe a) const
{
    return controle<QCheckBox>(ligne(cle).caseAdverbe(a));
}

QLineEdit& EcranEssai::zone(std::string_view nom) const
{
    return controle<QLineEdit>(nom);
}

void EcranEssai::repondre(std::string_view cle, bool neFaitPas, const QString& adverbes, const QString& note)
{
    (neFaitPas ? faitPas(cle) : fait(cle)).setChecked(true);
    for (Adverbe a : kAdverbes)
        adverbe(cle, a).setChecked(adverbes.contains(QChar(kLettresAdverbes[std::size_t(a)])));
    zone(ligne(cle).note).setText(note);
}

void EcranEssai::noteVariable(int numero, const QString& note)
{
    zone(grille::variable(numero).note).setText(note);
}
