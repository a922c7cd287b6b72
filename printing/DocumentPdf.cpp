#include <pavonis/printing/DocumentPdf.h>

#include <pavonis/presentation/FeuilleA4.h>

#include <pavonis/files/EcritureFichier.h>
#include <pavonis/hostapi/Erreur.h>

#include <QDateTime>
#include <QFile>
#include <QPageLayout>
#include <QPdfWriter>

namespace pavonis::impression {

namespace {

// A metadata text without the characters XML 1.0 does not allow (most
// controls, lone surrogates, U+FFFE, U+FFFF): the XMP packet stays
// well-formed, and says the same as the document information.
QString sansInterditsXml(const QString& t)
{
    QString propre;
    propre.reserve(t.size());
    for (const char32_t c : t.toUcs4())
        if (c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD) ||
            (c >= 0x10000 && c <= 0x10FFFF))
            propre += QString::fromUcs4(&c, 1);
    return propre;
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

DocumentPdf::DocumentPdf(const QString& chemin, const Metadonnees& metadonnees) : chemin_(chemin)
{
    if (chemin.isEmpty())
        throw Erreur(Erreur::Code::Plateforme, "Aucun nom de fichier n'est donné pour le PDF.");
    fichiers::verifierCible(QFile::encodeName(chemin).toStdString()); // before the page is drawn
    tampon_.open(QIODevice::WriteOnly);
    commencer(tampon_, metadonnees);
}

DocumentPdf::DocumentPdf(QIODevice& sortie, const Metadonnees& metadonnees)
{
    if (!sortie.isOpen() || !sortie.isWritable())
        throw Erreur(Erreur::Code::Plateforme,
                     "Le PDF ne peut pas être écrit : la sortie n'est pas ouverte en écriture.");
    commencer(sortie, metadonnees);
}

void DocumentPdf::commencer(QIODevice& sortie, const Metadonnees& donnees)
{
    const Metadonnees m{sansInterditsXml(donnees.titre), sansInterditsXml(donnees.auteur),
                        sansInterditsXml(donnees.sujet), donnees.archive};
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
    throw Erreur(Erreur::Code::Plateforme, "Le PDF n'a pas pu être dessiné.");
}

DocumentPdf::~DocumentPdf()
{
    if (peintre_.isActive())
        peintre_.end();
}

QPainter& DocumentPdf::peintre()
{
    if (termine_)
        throw Erreur(Erreur::Code::Plateforme, "Le document PDF est déjà terminé.");
    return peintre_;
}

void DocumentPdf::nouvellePage()
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
    if (!peintre_.end())
        echec();
    if (!chemin_.isEmpty())
        fichiers::ecrireFichier(
            QFile::encodeName(chemin_).toStdString(),
            std::string_view(tampon_.data().constData(), std::size_t(tampon_.data().size())));
}

} // namespace pavonis::impression
