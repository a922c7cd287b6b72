#include <pavonis/printing/ImpressionEvaluation.h>

#include "LecteurEcran.h"
#include <pavonis/presentation/MiseEnPageRapport.h>
#include <pavonis/printing/Frm_ImpressionA4.h>
#include <pavonis/printing/ModVar.h>

#include <pavonis/engine/GrilleAggir.h>
#include <pavonis/hostapi/Erreur.h>
#include <pavonis/platform/BoiteMessage.h>
#include <pavonis/printing/DocumentImage.h>
#include <pavonis/printing/DocumentPdf.h>
#include <pavonis/printing/PagePeintre.h>
#include <pavonis/printing/Printer.h>

#include <QPointer>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <new>

namespace pavonis::impression {

using plateforme::PageTwips;
using M = MiseEnPageRapport;
using Suite = PageTwips::Suite;

namespace {

QString qs(std::string_view s)
{
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

// Hourglass and disabled for the lifetime of the object, then back to how
// the control was, even when leaving by an exception.
class ControleOccupe {
public:
    explicit ControleOccupe(QWidget& controle)
        : controle_(&controle), curseurPropre_(controle.testAttribute(Qt::WA_SetCursor)),
          curseur_(controle.cursor()), desactive_(controle.testAttribute(Qt::WA_ForceDisabled))
    {
        controle.setCursor(Qt::WaitCursor);
        controle.setEnabled(false);
    }
    ~ControleOccupe()
    {
        if (!controle_)
            return;
        if (curseurPropre_)
            controle_->setCursor(curseur_);
        else
            controle_->unsetCursor();
        controle_->setEnabled(!desactive_);
    }
    ControleOccupe(const ControleOccupe&) = delete;
    ControleOccupe& operator=(const ControleOccupe&) = delete;

private:
    QPointer<QWidget> controle_;
    bool curseurPropre_;
    QCursor curseur_;
    bool desactive_;
};

void caseLigne(PageTwips& page, std::size_t i, float y, quint32 fond)
{
    const float x = M::kXCases[i];
    page.Line(x, y, x + M::kCoteCase, y + M::kCoteCase, fond, PageTwips::Boite::Pleine);
    page.Line(x, y, x + M::kCoteCase, y + M::kCoteCase, PageTwips::kNoir, PageTwips::Boite::Contour);
}

void noteVariable(PageTwips& page, const QString& note)
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
            page.Print(qs(v.libelleImprime), Suite::SurLaLigne);
            break;
        case M::Etape::SousLibelle:
            page.CurrentX(M::kXSousLibelle);
            page.Print(qs(l.sousVariableImprimee), Suite::SurLaLigne);
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

QString reponseEnFrancais(const std::exception& e)
{
    if (dynamic_cast<const Erreur*>(&e))
        return QString::fromUtf8(e.what());
    if (dynamic_cast<const std::bad_alloc*>(&e))
        return QStringLiteral("Mémoire insuffisante.");
    return QStringLiteral("Erreur inattendue (%1).").arg(QString::fromUtf8(e.what()));
}

// A name as long as fits from the pen to the header frame's right edge, cut
// with "…" beyond.
QString nomDansLeCadre(const PageTwips& page, const QString& nom)
{
    return page.TexteCoupe(nom, M::kCadres[0].x2 - M::kMargeNom - page.CurrentX());
}

} // namespace

void ImprimerCasesLigne(PageTwips& page, bool optionNeFaitPas, bool caseC, bool caseH, bool caseS, bool caseT,
                        const QString& zoneNote)
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

void ImprimerEntete(PageTwips& page, const DonneesRapport& ecran, const QString& dateImpression)
{
    page.FontSize(M::kTaille);
    page.FontBold(false);
    page.Print(qs(M::kBeneficiaire), Suite::SurLaLigne);
    page.CurrentX(M::kXNomBeneficiaire);
    page.FontSize(M::kTailleNom);
    page.FontBold(true);
    page.Print(nomDansLeCadre(page, ecran.texte("Txt_NomBenef")), Suite::FinDeLigne);
    page.Print();
    page.Print();
    page.FontSize(M::kTaille);
    page.FontBold(false);
    page.Print();
    page.Print(qs(M::kDateEvaluation), Suite::SurLaLigne);
    page.CurrentX(M::kXEvaluateur);
    page.Print(qs(M::kEvaluateur), Suite::SurLaLigne);
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
    page.Print(qs(M::kTitreDiscriminantes), Suite::FinDeLigne);
    page.Print();
    page.FontSize(M::kTaille);
    page.FontBold(true);
    for (const M::Texte& t : M::kEntetesColonnes) {
        page.CurrentX(t.x);
        page.Print(qs(t.texte), t.finDeLigne ? Suite::FinDeLigne : Suite::SurLaLigne);
    }

    const std::span<const M::VariableImprimee> variables = M::variables();
    for (std::size_t i = 0; i < variables.size(); ++i) {
        const VariableAggir& v = *variables[i].variable;
        if (v.nature == Nature::Illustrative &&
            (i == 0 || variables[i - 1].variable->nature != Nature::Illustrative)) {
            page.FontBold(false);
            page.Print(qs(M::kTitreIllustratives), Suite::FinDeLigne);
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
    page.Print(qs(M::kGir), Suite::FinDeLigne);
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
        page.Print(qs(l.texte), Suite::FinDeLigne);
    }
}

void DessinerEvaluation(PageTwips& page, const DonneesRapport& ecran, const QString& dateImpression)
{
    // Page set-up. A4 portrait in twips is the back ends' business.
    page.FontName(qs(M::kPolice));
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

void PeindreEvaluation(QPainter& peintre, const DonneesRapport& donnees)
{
    plateforme::PagePeintre page(peintre);
    DessinerEvaluation(page, donnees);
}

QImage RendreImage(const DonneesRapport& donnees, double pointsParPouce)
{
    plateforme::DocumentImage page(pointsParPouce);
    DessinerEvaluation(page, donnees);
    page.EndDoc();
    return page.image();
}

namespace {

plateforme::DocumentPdf::Metadonnees metadonnees(const DonneesRapport& donnees, const QString& date,
                                                 FormePdf forme)
{
    return {titreTravail(donnees.texte("Txt_NomBenef"), date), donnees.texte("Txt_NomEnqueteur").simplified(),
            donnees.texte("Txt_NomBenef").simplified(), forme == FormePdf::Archive};
}

} // namespace

void ExporterPdf(const DonneesRapport& donnees, const QString& chemin, FormePdf forme)
{
    const QString date = DateDuJour::texte();
    plateforme::DocumentPdf page(chemin, metadonnees(donnees, date, forme));
    DessinerEvaluation(page, donnees, date);
    page.EndDoc();
}

void ExporterPdf(QWidget& controle, const QString& chemin, FormePdf forme)
{
    ExporterPdf(LecteurEcran(controle), chemin, forme);
}

void ExporterPdf(const DonneesRapport& donnees, QIODevice& sortie, FormePdf forme)
{
    const QString date = DateDuJour::texte();
    plateforme::DocumentPdf page(sortie, metadonnees(donnees, date, forme));
    DessinerEvaluation(page, donnees, date);
    page.EndDoc();
}

void ImprimerEvaluation(QWidget& controle)
{
    const QPointer<QWidget> garde(&controle);
    ModVar& mv = ModVar::courant();
    {
        // The dialog belongs to the host window, which may go (host code,
        // end of session) while the dialog is open: then the print is given
        // up, as with Annuler.
        const QPointer<Frm_ImpressionA4> dialogue = new Frm_ImpressionA4(controle.window());
        const bool accepte = dialogue->exec() == QDialog::Accepted && dialogue;
        delete dialogue.data();
        if (!accepte)
            mv.ImpressionAnnulee = true;
    }
    if (!garde || mv.ImpressionAnnulee)
        return;

    plateforme::Printer& imprimante = plateforme::Printer::courante();
    QString echec;
    {
        const ControleOccupe occupe(controle);
        try {
            const LecteurEcran ecran(controle);
            const QString date = DateDuJour::texte();
            imprimante.Titre(titreTravail(ecran.texte("Txt_NomBenef"), date));
            const int copies = std::clamp<int>(mv.NbCopiesImpression, 1, 99);
            for (int i = 0; i < copies; ++i) {
                if (i > 0)
                    imprimante.NewPage();
                DessinerEvaluation(imprimante, ecran, date);
            }
            imprimante.EndDoc();
        } catch (const std::exception& e) {
            imprimante.KillDoc();
            echec = reponseEnFrancais(e);
        } catch (...) {
            imprimante.KillDoc();
            echec = QStringLiteral("Erreur inattendue.");
        }
    }
    if (echec.isEmpty() || !garde)
        return;
    // The printer's own errors name it already.
    const QString nom = QStringLiteral("« %1 »").arg(imprimante.DeviceName());
    if (!echec.contains(nom))
        echec = QStringLiteral("L'impression sur %1 a échoué.\n%2").arg(nom, echec);
    BoiteMessage::afficher(controle.window(), echec, QStringLiteral("Impression"),
                           BoiteMessage::Icone::Exclamation);
}

QString titreTravail(const QString& beneficiaire, const QString& date)
{
    const QString nom = beneficiaire.simplified();
    return nom.isEmpty() ? QStringLiteral("Évaluation AGGIR – %1").arg(date)
                         : QStringLiteral("Évaluation AGGIR – %1 – %2").arg(nom, date);
}

} // namespace pavonis::impression
