#pragma once

#include <pavonis/printing/PagePeinte.h>

#include <QBuffer>
#include <QPainter>

#include <memory>

class QPdfWriter;

namespace pavonis::impression {

// What a PDF says of itself.
struct MetadonneesPdf {
    QString titre, auteur, sujet;
    // PDF/A-1b, for archiving: fonts embedded, the metadata in XMP.
    bool archive = false;
};

// A PDF document of A4 pages, to a file or to any device. The file is
// written at EndDoc, whole or not at all: a failure on the way leaves any
// earlier file of that name as it was.
class DocumentPdf final : public PagePeinte {
public:
    using Metadonnees = MetadonneesPdf;

    // To a file; EndDoc throws pavonis::Erreur (Code::Stockage) naming it
    // and the cause when it cannot be written.
    explicit DocumentPdf(const QString& chemin, const Metadonnees& metadonnees = {});
    // To a device open for writing (a buffer, a host's storage); throws
    // pavonis::Erreur (Code::Plateforme) when it is not.
    explicit DocumentPdf(QIODevice& sortie, const Metadonnees& metadonnees = {});
    ~DocumentPdf() override;

    void nouvellePage() override;
    void EndDoc() override;

protected:
    QPainter& peintre() override;

private:
    void commencer(QIODevice& sortie, const Metadonnees& metadonnees);
    [[noreturn]] void echec() const;

    QString chemin_; // empty when writing to a device
    QBuffer tampon_; // the file's bytes until EndDoc
    std::unique_ptr<QPdfWriter> pdf_;
    QPainter peintre_;
    bool termine_ = false;
};

} // namespace pavonis::impression
