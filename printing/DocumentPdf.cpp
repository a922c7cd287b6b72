#include <pavonis/printing/DocumentPdf.h>

#include <pavonis/printing/FeuilleA4.h>

#include <pavonis/hostapi/Erreur.h>

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPdfWriter>

namespace pavonis::plateforme {

namespace {

QString raison(const QSaveFile& f, const QString& chemin)
{
    const QFileInfo info(chemin);
    if (info.isDir())
        return QStringLiteral("c'est un dossier");
    if (!info.absoluteDir().exists())
        return QStringLiteral("le dossier « %1 » n'existe pas")
            .arg(QDir::toNativeSeparators(info.absolutePath()));
    switch (f.error()) {
    case QFileDevice::PermissionsError:
        return QStringLiteral("accès refusé");
    case QFileDevice::WriteError:
    case QFileDevice::ResourceError:
        return QStringLiteral("écriture impossible (disque plein ?)");
    default:
        return QStringLiteral("écriture impossible dans le dossier « %1 »")
            .arg(QDir::toNativeSeparators(info.absolutePath()));
    }
}

QString echapperXml(const QString& t)
{
    return t.toHtmlEscaped();
}

// The XMP packet of a PDF/A-1b document: what the writer puts there itself
// (title, creator tool, dates, producer, conformance), and the author and
// subject. The dates are those of the writer's own document information.
QByteArray xmp(const DocumentPdf::Metadonnees& m)
{
    const QString date = QDateTime::currentDateTimeUtc().toString(Qt::ISODate);
    QString x =
        QStringLiteral(
            "<?xpacket begin='' id='W5M0MpCehiHzreSzNTczkc9d'?>\n"
            "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\">\n"
            "  <rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">\n"
            "    <rdf:Description xmlns:dc=\"http://purl.org/dc/elements/1.1/\" rdf:about=\"\">\n"
            "      <dc:title><rdf:Alt><rdf:li xml:lang=\"x-default\">%1</rdf:li></rdf:Alt></dc:title>\n")
            .arg(echapperXml(m.titre));
    if (!m.auteur.isEmpty())
        x += QStringLiteral("      <dc:creator><rdf:Seq><rdf:li>%1</rdf:li></rdf:Seq></dc:creator>\n")
                 .arg(echapperXml(m.auteur));
    if (!m.sujet.isEmpty())
        x += QStringLiteral("      <dc:description><rdf:Alt><rdf:li "
                            "xml:lang=\"x-default\">%1</rdf:li></rdf:Alt></dc:description>\n")
                 .arg(echapperXml(m.sujet));
    x += QStringLiteral("    </rdf:Description>\n"
                        "    <rdf:Description xmlns:xmp=\"http://ns.adobe.com/xap/1.0/\" rdf:about=\"\" "
                        "xmp:CreatorTool=\"Pavonis\" "
                        "xmp:CreateDate=\"%1\" xmp:ModifyDate=\"%1\"/>\n"
                        "    <rdf:Description xmlns:pdf=\"http://ns.adobe.com/pdf/1.3/\" rdf:about=\"\" "
                        "pdf:Producer=\"Qt %2\"/>\n"
                        "    <rdf:Description xmlns:pdfaid=\"http://www.aiim.org/pdfa/ns/id/\" "
                        "rdf:about=\"\" pdfaid:part=\"1\" "
                        "pdfaid:conformance=\"B\"/>\n"
                        "  </rdf:RDF>\n"
                        "</x:xmpmeta>\n"
                        "<?xpacket end='w'?>")
             .arg(date, QString::fromLatin1(qVersion()));
    return x.toUtf8();
}

} // namespace

DocumentPdf::DocumentPdf(const QString& chemin, const Metadonnees& metadonnees)
    : chemin_(chemin), fichier_(std::make_unique<QSaveFile>(chemin))
{
    if (chemin.isEmpty())
        throw Erreur(Erreur::Code::Plateforme, "Aucun nom de fichier n'est donné pour le PDF.");
    if (QFileInfo(chemin).isDir() || !fichier_->open(QIODevice::WriteOnly))
        echec();
    commencer(*fichier_, metadonnees);
}

DocumentPdf::DocumentPdf(QIODevice& sortie, const Metadonnees& metadonnees)
{
    if (!sortie.isOpen() || !sortie.isWritable())
        throw Erreur(Erreur::Code::Plateforme,
                     "Le PDF ne peut pas être écrit : la sortie n'est pas ouverte en écriture.");
    commencer(sortie, metadonnees);
}

void DocumentPdf::commencer(QIODevice& sortie, const Metadonnees& m)
{
    pdf_ = std::make_unique<QPdfWriter>(&sortie);
    pdf_->setPageLayout(
        QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(), QPageLayout::Millimeter));
    pdf_->setTitle(m.titre);
    pdf_->setCreator(QStringLiteral("Pavonis"));
    if (m.archive) {
        pdf_->setPdfVersion(QPagedPaintDevice::PdfVersion_A1b);
        pdf_->setDocumentXmpMetadata(xmp(m));
    }
    if (!peintre_.begin(pdf_.get()))
        echec();
    preparerPeintre(peintre_, QPointF(FeuilleA4::kMargeTwips, FeuilleA4::kMargeTwips));
}

void DocumentPdf::echec() const
{
    if (!fichier_)
        throw Erreur(Erreur::Code::Plateforme, "Le PDF n'a pas pu être écrit sur sa sortie.");
    throw Erreur(Erreur::Code::Plateforme,
                 QStringLiteral("Impossible d'écrire le fichier PDF « %1 » : %2.")
                     .arg(QDir::toNativeSeparators(chemin_), raison(*fichier_, chemin_))
                     .toStdString());
}

DocumentPdf::~DocumentPdf()
{
    if (peintre_.isActive())
        peintre_.end();
    if (fichier_ && !termine_)
        fichier_->cancelWriting();
}

QPainter& DocumentPdf::peintre()
{
    if (termine_)
        throw Erreur(Erreur::Code::Plateforme, "Le document PDF est déjà terminé.");
    return peintre_;
}

void DocumentPdf::NewPage()
{
    peintre();
    if (!pdf_->newPage())
        echec();
}

void DocumentPdf::EndDoc()
{
    if (termine_)
        return;
    termine_ = true;
    const bool peint = peintre_.end();
    if (!peint || (fichier_ && !fichier_->commit()))
        echec();
}

} // namespace pavonis::plateforme
