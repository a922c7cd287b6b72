#include <pavonis/printing/ImpressionEvaluation.h>

#include "LecteurEcran.h"

#include <pavonis/hostapi/Erreur.h>
#include <pavonis/platform/BoiteMessage.h>
#include <pavonis/platform/DateDuJour.h>
#include <pavonis/presentation/DessinRapport.h>
#include <pavonis/printing/DocumentImage.h>
#include <pavonis/printing/DocumentPdf.h>
#include <pavonis/printing/Frm_ImpressionA4.h>
#include <pavonis/printing/Mod_Var.h>
#include <pavonis/printing/PagePeintre.h>
#include <pavonis/printing/Printer.h>

#include <QPointer>
#include <QWidget>

#include <algorithm>
#include <new>

namespace pavonis::impression {

namespace {

QString qs(const std::string& s)
{
    return QString::fromStdString(s);
}

std::string aujourdhui()
{
    return DateDuJour::texte().toStdString();
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

QString reponseEnFrancais(const std::exception& e)
{
    if (dynamic_cast<const Erreur*>(&e))
        return QString::fromUtf8(e.what());
    if (dynamic_cast<const std::bad_alloc*>(&e))
        return QStringLiteral("Mémoire insuffisante.");
    return QStringLiteral("Erreur inattendue (%1).").arg(QString::fromUtf8(e.what()));
}

} // namespace

void peindreEvaluation(QPainter& peintre, const DonneesRapport& donnees)
{
    PagePeintre page(peintre);
    dessinerEvaluation(page, donnees, aujourdhui());
}

QImage rendreImage(const DonneesRapport& donnees, double pointsParPouce)
{
    DocumentImage page(pointsParPouce);
    dessinerEvaluation(page, donnees, aujourdhui());
    page.EndDoc();
    return page.image();
}

namespace {

DocumentPdf::Metadonnees metadonnees(const DonneesRapport& donnees, const QString& date, FormePdf forme)
{
    const QString beneficiaire = qs(donnees.texte("Txt_NomBenef"));
    return {titreTravail(beneficiaire, date), qs(donnees.texte("Txt_NomEnqueteur")).simplified(),
            beneficiaire.simplified(), forme == FormePdf::Archive};
}

} // namespace

void exporterPdf(const DonneesRapport& donnees, const QString& chemin, FormePdf forme)
{
    const QString date = DateDuJour::texte();
    DocumentPdf page(chemin, metadonnees(donnees, date, forme));
    dessinerEvaluation(page, donnees, date.toStdString());
    page.EndDoc();
}

void exporterPdf(QWidget& controle, const QString& chemin, FormePdf forme)
{
    exporterPdf(LecteurEcran(controle), chemin, forme);
}

void exporterPdf(const DonneesRapport& donnees, QIODevice& sortie, FormePdf forme)
{
    const QString date = DateDuJour::texte();
    DocumentPdf page(sortie, metadonnees(donnees, date, forme));
    dessinerEvaluation(page, donnees, date.toStdString());
    page.EndDoc();
}

void ImprimerEvaluation(QWidget& controle)
{
    const QPointer<QWidget> garde(&controle);
    Mod_Var& mv = Mod_Var::courant();
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
    // The dialog answers through the module's variables and the current
    // printer; what follows is handed them as values.
    if (garde && !mv.ImpressionAnnulee)
        imprimerCopies(controle, Printer::courante(), std::clamp<int>(mv.NbCopiesImpression, 1, 99));
}

void imprimerCopies(QWidget& controle, Printer& imprimante, int copies)
{
    const QPointer<QWidget> garde(&controle);
    QString echec;
    {
        const ControleOccupe occupe(controle);
        try {
            const LecteurEcran ecran(controle);
            const QString date = DateDuJour::texte();
            imprimante.definirTitre(titreTravail(qs(ecran.texte("Txt_NomBenef")), date));
            for (int i = 0; i < copies; ++i) {
                if (i > 0)
                    imprimante.nouvellePage();
                dessinerEvaluation(imprimante, ecran, date.toStdString());
            }
            imprimante.EndDoc();
        } catch (const std::exception& e) {
            imprimante.abandonner();
            echec = reponseEnFrancais(e);
        } catch (...) {
            imprimante.abandonner();
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
