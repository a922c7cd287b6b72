#pragma once

#include <DateDuJour.h>

#include <QImage>
#include <QString>

class QCheckBox;
class QIODevice;
class QLineEdit;
class QPainter;
class QRadioButton;
class QWidget;

namespace pavonis::plateforme {
class PageTwips;
}

namespace pavonis::impression {

class LecteurEcran;

// The whole print of the button "Imprimer": the dialog, then, unless it was
// cancelled, the page drawn on the chosen printer as many times as copies
// were asked (one job of identical pages: every printer and driver gives
// the same sheets, raw queues included). Meanwhile `controle` shows the
// hourglass and is disabled; both come back whatever happens, and a failure
// is told to the user in the platform's message box (BoiteMessage), naming
// the printer and the reason.
// Nothing escapes: no exception, no change to the evaluation.
void ImprimerEvaluation(QWidget& controle);

// The print job's title, as the print queue shows it to the person at the
// printer: "Évaluation AGGIR – <beneficiary> – <date of printing>".
QString titreTravail(const QString& beneficiaire, const QString& date);

// The same page, one copy, in a PDF file, without the dialog. Throws
// pavonis::Erreur with a French message (Code::Plateforme when the file
// cannot be written, Code::ObjetAbsent when the screen lacks a control).
void ExporterPdf(QWidget& controle, const QString& chemin);
// The same to a device open for writing (a host storing it in its database).
void ExporterPdf(QWidget& controle, QIODevice& sortie);

// The page as an image of the A4 sheet, for previews.
QImage RendreImage(const QWidget& controle, double pointsParPouce = 150.0);

// The page into any painter whose origin is the top-left of the printable
// area (1/1440 inch a twip at the painter's device resolution).
void PeindreEvaluation(QPainter& peintre, const QWidget& controle);

// One page on any back end: set-up, header, grid, legend; the document is
// left open. The header shows the date of printing (not the evaluation date
// typed on the screen), in the platform's short form.
void DessinerEvaluation(plateforme::PageTwips& page, const QWidget& controle,
                        const QString& dateImpression = DateDuJour::texte());

// The parts of the page.
void ImprimerEntete(plateforme::PageTwips& page, const LecteurEcran& ecran, const QString& dateImpression);
void ImprimerGrille(plateforme::PageTwips& page, const LecteurEcran& ecran);
void ImprimerLegende(plateforme::PageTwips& page);
// The five boxes (NE FAIT PAS, S, T, C, H) and the note of one row; leaves
// the pen after the note, on the line.
void ImprimerCasesLigne(plateforme::PageTwips& page, const QRadioButton& optionNeFaitPas,
                        const QCheckBox& caseC, const QCheckBox& caseH, const QCheckBox& caseS,
                        const QCheckBox& caseT, const QLineEdit& zoneNote);

} // namespace pavonis::impression
