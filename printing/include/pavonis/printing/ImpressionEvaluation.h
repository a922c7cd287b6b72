#pragma once

#include <QImage>
#include <QString>

class QIODevice;
class QPainter;
class QWidget;

namespace pavonis::impression {

class DonneesRapport;
class Printer;

// How a PDF is written: as any PDF, or for archiving (PDF/A-1b: fonts
// embedded, XMP metadata with the title, the evaluator as author and the
// beneficiary as subject).
enum class FormePdf { Ordinaire, Archive };

// The whole print of the button "Imprimer": the dialog, then, unless it was
// cancelled, the page drawn on the chosen printer as many times as copies
// were asked (one job of identical pages: every printer and driver gives
// the same sheets, raw queues included). Meanwhile `controle` shows the
// hourglass and is disabled; both come back whatever happens, and a failure
// is told to the user in the platform's message box (BoiteMessage), naming
// the printer and the reason.
// Nothing escapes: no exception, no change to the evaluation.
void ImprimerEvaluation(QWidget& controle);

// The page of what `controle` shows, `copies` times, on `imprimante`, as
// ImprimerEvaluation does once the dialog has answered.
void imprimerCopies(QWidget& controle, Printer& imprimante, int copies);

// The print job's title, as the print queue shows it to the person at the
// printer: "Évaluation AGGIR – <beneficiary> – <date of printing>".
QString titreTravail(const QString& beneficiaire, const QString& date);

// The same page, one copy, in a PDF file (written whole or not at all),
// without the dialog: of what the screen shows, or of an evaluation held as
// data. Throws pavonis::Erreur with a French message (Code::Stockage when
// the file cannot be written, Code::ObjetAbsent when a control is missing).
void exporterPdf(const DonneesRapport& donnees, const QString& chemin, FormePdf forme = FormePdf::Ordinaire);
void exporterPdf(QWidget& controle, const QString& chemin, FormePdf forme = FormePdf::Ordinaire);
// The same to a device open for writing (a host storing it in its database).
void exporterPdf(const DonneesRapport& donnees, QIODevice& sortie, FormePdf forme = FormePdf::Ordinaire);

// The page as an image of the A4 sheet, for previews.
QImage rendreImage(const DonneesRapport& donnees, double pointsParPouce = 150.0);

// The page into any painter whose origin is the top-left of the printable
// area (1/1440 inch a twip at the painter's device resolution).
void peindreEvaluation(QPainter& peintre, const DonneesRapport& donnees);

} // namespace pavonis::impression
