#include <pavonis/printing/Printer.h>

#include <pavonis/presentation/FeuilleA4.h>
#include <pavonis/printing/Printers.h>
#include <pavonis/printing/ServeurCups.h>

#include <pavonis/hostapi/Erreur.h>

#include <QDir>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryFile>

#include <algorithm>

namespace pavonis::impression {

namespace {

Erreur erreurImpression(const QString& imprimante, const QString& raison)
{
    return Erreur(
        Erreur::Code::Plateforme,
        QStringLiteral("L'impression sur « %1 » a échoué : %2.").arg(imprimante, raison).toStdString());
}

} // namespace

// Qt's own CUPS engine gives no word on whether the server took the job, so
// the pages go to a temporary PDF file that we submit ourselves.
struct Printer::Document {
    QTemporaryFile fichier{QDir::tempPath() + QStringLiteral("/pavonis-XXXXXX.pdf")};
    std::unique_ptr<QPdfWriter> pdf;
    QPainter peintre;
};

Printer::Printer()
{
    imprimante_.DeviceName = Printers::nomParDefaut();
    if (!imprimante_.DeviceName.isEmpty())
        imprimante_.Port = ServeurCups::urisPeripheriques().value(imprimante_.DeviceName.section(u'/', 0, 0));
}

Printer::~Printer() = default;

Printer& Printer::courante()
{
    thread_local Printer imprimante;
    return imprimante;
}

void Printer::remplacer(const ImprimanteInstallee& imprimante)
{
    if (document_)
        throw Erreur(Erreur::Code::Plateforme,
                     QStringLiteral("Impossible de changer d'imprimante pendant l'impression sur « %1 ».")
                         .arg(imprimante_.DeviceName)
                         .toStdString());
    imprimante_ = imprimante;
}

QPainter& Printer::peintre()
{
    if (document_)
        return document_->peintre;

    const QString nom = imprimante_.DeviceName;
    if (nom.isEmpty())
        throw Erreur(Erreur::Code::Plateforme, "Aucune imprimante n'est choisie pour l'impression.");
    // The server and the queue are there, or the user is told which is not.
    ServeurCups::verifierFile(nom);

    // Keep clear of the printer's unprintable border when it is wider than ours.
    QMarginsF minimum;
    if (const QPrinterInfo info = QPrinterInfo::printerInfo(nom); !info.isNull()) {
        QPrinter imprimante(info, QPrinter::HighResolution);
        imprimante.setPageSize(QPageSize(QPageSize::A4));
        imprimante.setPageOrientation(QPageLayout::Portrait);
        QPageLayout miseEnPage = imprimante.pageLayout();
        miseEnPage.setUnits(QPageLayout::Millimeter);
        minimum = miseEnPage.minimumMargins();
    }
    const QPointF origine(std::max(FeuilleA4::kMargeMm, minimum.left()) * FeuilleA4::kTwipsParMm,
                          std::max(FeuilleA4::kMargeMm, minimum.top()) * FeuilleA4::kTwipsParMm);

    auto document = std::make_unique<Document>();
    if (!document->fichier.open())
        throw erreurImpression(
            nom, QStringLiteral("impossible de créer le fichier temporaire d'impression dans « %1 »")
                     .arg(QDir::tempPath()));
    document->pdf = std::make_unique<QPdfWriter>(&document->fichier);
    document->pdf->setPageLayout(
        QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(), QPageLayout::Millimeter));
    document->pdf->setTitle(titre_);
    document->pdf->setCreator(QStringLiteral("Pavonis"));
    if (!document->peintre.begin(document->pdf.get()))
        throw erreurImpression(nom, QStringLiteral("le document n'a pas pu être commencé"));
    preparerPeintre(document->peintre, origine);
    document_ = std::move(document);
    return document_->peintre;
}

void Printer::nouvellePage()
{
    peintre();
    if (!document_->pdf->newPage())
        throw erreurImpression(imprimante_.DeviceName,
                               QStringLiteral("la page suivante n'a pas pu être commencée"));
}

void Printer::EndDoc()
{
    if (!document_)
        return;
    const std::unique_ptr<Document> document = std::move(document_);
    const QString nom = imprimante_.DeviceName;
    if (!document->peintre.end() || !document->fichier.flush())
        throw erreurImpression(nom, QStringLiteral("le document n'a pas pu être écrit dans « %1 »")
                                        .arg(document->fichier.fileName()));
    ServeurCups::imprimerFichier(nom, document->fichier.fileName(), titre_);
}

void Printer::abandonner()
{
    document_.reset();
}

} // namespace pavonis::impression
