#include <pavonis/presentation/DessinRapport.h>

#include <pavonis/engine/GrilleAggir.h>
#include <pavonis/presentation/DonneesRapport.h>
#include <pavonis/presentation/MiseEnPageRapport.h>

#include <algorithm>
#include <array>
#include <cmath>

namespace pavonis::impression {

using M = MiseEnPageRapport;
using Suite = PageTwips::Suite;

namespace {

void caseLigne(PageTwips& page, std::size_t i, float y, std::uint32_t fond)
{
    const float x = M::kXCases[i];
    page.Line(x, y, x + M::kCoteCase, y + M::kCoteCase, fond, PageTwips::Boite::Pleine);
    page.Line(x, y, x + M::kCoteCase, y + M::kCoteCase, PageTwips::kNoir, PageTwips::Boite::Contour);
}

void noteVariable(PageTwips& page, std::string_view note)
{
    page.CurrentX(M::kXNoteVariable);
    page.ForeColor(PageTwips::kRouge);
    page.Print(note, Suite::FinDeLigne);
    page.ForeColor(PageTwips::kNoir);
}

void ligneEvaluation(PageTwips& page, const DonneesRapport& ecran, const LigneEvaluation& l)
{
    ImprimerCasesLigne(
        page, ecran.optionSelectionnee(l.optionFaitPas), ecran.caseCochee(l.caseAdverbe(Adverbe::C)),
        ecran.caseCochee(l.caseAdverbe(Adverbe::H)), ecran.caseCochee(l.caseAdverbe(Adverbe::S)),
        ecran.caseCochee(l.caseAdverbe(Adverbe::T)), ecran.texte(l.note));
}

void variable(PageTwips& page, const DonneesRapport& ecran, const VariableAggir& v)
{
    for (const M::Pas& p : M::pas(v.nbLignes)) {
        const LigneEvaluation& l = grille::kLignes[v.premiereLigne + p.ligne];
        switch (p.etape) {
        case M::Etape::Libelle:
            page.CurrentX(0);
            page.FontSize(M::kTaille);
            page.FontBold(v.nature == Nature::Discriminante);
            page.Print(v.libelleImprime, Suite::SurLaLigne);
            break;
        case M::Etape::SousLibelle:
            page.CurrentX(M::kXSousLibelle);
            page.Print(l.sousVariableImprimee, Suite::SurLaLigne);
            break;
        case M::Etape::Ligne:
            ligneEvaluation(page, ecran, l);
            break;
        case M::Etape::NoteVariable:
            noteVariable(page, ecran.texte(v.note));
            break;
        case M::Etape::Vide:
            page.Print();
            break;
        }
    }
}

void trait(PageTwips& page, float x1, float y1, float x2, float y2)
{
    page.Line(x1, y1, x2, y2);
}

// Top, bottom, left and right edges.
void cadre(PageTwips& page, const M::Cadre& c)
{
    trait(page, c.x1, c.y1, c.x2, c.y1);
    trait(page, c.x1, c.y2, c.x2, c.y2);
    trait(page, c.x1, c.y1, c.x1, c.y2);
    trait(page, c.x2, c.y1, c.x2, c.y2);
}

// A name as long as fits from the pen to the header frame's right edge, cut
// with "…" beyond.
std::string nomDansLeCadre(const PageTwips& page, std::string_view nom)
{
    return page.texteCoupe(nom, M::kCadres[0].x2 - M::kMargeNom - page.CurrentX());
}

} // namespace

void ImprimerCasesLigne(PageTwips& page, bool optionNeFaitPas, bool caseC, bool caseH, bool caseS, bool caseT,
                        std::string_view zoneNote)
{
    page.FontSize(M::kTaille);
    const float y = std::round(page.CurrentY());
    if (optionNeFaitPas) {
        const std::array<bool, 4> adverbes{caseS, caseT, caseC, caseH};
        if (std::none_of(adverbes.begin(), adverbes.end(), [](bool b) { return b; })) {
            caseLigne(page, 0, y, PageTwips::kNoir);
        } else {
            caseLigne(page, 0, y, PageTwips::kBlanc);
            for (std::size_t i = 0; i < adverbes.size(); ++i)
                caseLigne(page, i + 1, y, adverbes[i] ? PageTwips::kNoir : PageTwips::kBlanc);
        }
    } else {
        for (std::size_t i = 0; i < M::kXCases.size(); ++i)
            caseLigne(page, i, y, PageTwips::kBlanc);
    }
    page.FontBold(true);
    page.CurrentX(M::kXNoteLigne);
    page.CurrentY(y);
    page.Print(zoneNote, Suite::SurLaLigne);
}

void ImprimerEntete(PageTwips& page, const DonneesRapport& ecran, std::string_view dateImpression)
{
    page.FontSize(M::kTaille);
    page.FontBold(false);
    page.Print((M::kBeneficiaire), Suite::SurLaLigne);
    page.CurrentX(M::kXNomBeneficiaire);
    page.FontSize(M::kTailleNom);
    page.FontBold(true);
    page.Print(nomDansLeCadre(page, ecran.texte("Txt_NomBenef")), Suite::FinDeLigne);
    page.Print();
    page.Print();
    page.FontSize(M::kTaille);
    page.FontBold(false);
    page.Print();
    page.Print((M::kDateEvaluation), Suite::SurLaLigne);
    page.CurrentX(M::kXEvaluateur);
    page.Print((M::kEvaluateur), Suite::SurLaLigne);
    page.CurrentX(M::kXDate);
    page.FontSize(M::kTailleNom);
    page.FontBold(true);
    page.Print(dateImpression, Suite::SurLaLigne);
    page.CurrentX(M::kXNomEvaluateur);
    page.Print(nomDansLeCadre(page, ecran.texte("Txt_NomEnqueteur")), Suite::FinDeLigne);
    page.FontSize(M::kTaille);
    page.FontBold(false);
}

void ImprimerGrille(PageTwips& page, const DonneesRapport& ecran)
{
    page.Print();
    page.Print((M::kTitreDiscriminantes), Suite::FinDeLigne);
    page.Print();
    page.FontSize(M::kTaille);
    page.FontBold(true);
    for (const M::Texte& t : M::kEntetesColonnes) {
        page.CurrentX(t.x);
        page.Print(t.texte, t.finDeLigne ? Suite::FinDeLigne : Suite::SurLaLigne);
    }

    const std::span<const M::VariableImprimee> variables = M::variables();
    for (std::size_t i = 0; i < variables.size(); ++i) {
        const VariableAggir& v = *variables[i].variable;
        if (v.nature == Nature::Illustrative &&
            (i == 0 || variables[i - 1].variable->nature != Nature::Illustrative)) {
            page.FontBold(false);
            page.Print((M::kTitreIllustratives), Suite::FinDeLigne);
            page.Print();
        }
        variable(page, ecran, v);
    }
    page.Print();
    // The legend starts where the grid ends.
    const float yLegende = std::round(page.CurrentY());

    page.FontSize(M::kTailleGir);
    page.FontBold(true);
    page.CurrentX(M::kXGir);
    page.CurrentY(M::kYGir);
    page.Print((M::kGir), Suite::FinDeLigne);
    page.ForeColor(PageTwips::kRouge);
    page.CurrentX(M::kXGroupe);
    page.CurrentY(M::kYGroupe);
    page.Print(ecran.texte("Txt_Groupe"), Suite::FinDeLigne);
    page.CurrentX(M::kXSousGroupe);
    page.CurrentY(M::kYSousGroupe);
    page.Print(ecran.texte("Txt_SousGroupe"), Suite::FinDeLigne);
    page.ForeColor(PageTwips::kNoir);

    cadre(page, M::kCadreGir);
    for (const M::Cadre& c : M::kCadres) {
        trait(page, c.x1, c.y1, c.x2, c.y1);
        trait(page, c.x1, c.y2, c.x2, c.y2);
    }
    for (const M::Cadre& c : M::kCadres) {
        trait(page, c.x1, c.y1, c.x1, c.y2);
        trait(page, c.x2, c.y1, c.x2, c.y2);
    }
    for (const M::VariableImprimee& v : variables)
        cadre(page, {M::kXNoteGauche, v.yNoteHaut, M::kXNoteDroite, v.yNoteBas});

    page.CurrentX(0);
    page.CurrentY(yLegende);
}

void ImprimerLegende(PageTwips& page)
{
    page.FontSize(M::kTailleLegende);
    page.FontItalic(true);
    for (const M::LigneLegende& l : M::kLegende) {
        page.FontBold(l.gras);
        if (l.texte.empty()) {
            page.Print();
            continue;
        }
        page.CurrentX(l.x);
        page.Print(l.texte, Suite::FinDeLigne);
    }
}

void dessinerEvaluation(PageTwips& page, const DonneesRapport& ecran, std::string_view dateImpression)
{
    // Page set-up. A4 portrait in twips is the back ends' business.
    page.FontName(M::kPolice);
    page.FontBold(false);
    page.FontItalic(false);
    page.FontSize(M::kTaille);
    page.ForeColor(PageTwips::kNoir);
    page.CurrentX(0);
    page.CurrentY(0);
    ImprimerEntete(page, ecran, dateImpression);
    ImprimerGrille(page, ecran);
    ImprimerLegende(page);
}

} // namespace pavonis::impression
