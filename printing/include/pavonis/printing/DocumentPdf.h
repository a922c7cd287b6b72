#pragma once

#include <pavonis/printing/PageTwips.h>

#include <QPainter>
#include <QSaveFile>

#include <memory>

class QPdfWriter;

namespace pavonis::plateforme {

// A PDF document of A4 pages, to a file or to any device. The file appears,
// complete and synced to disk, only at EndDoc: a failure on the way leaves
// any earlier file of that name as it was.
// What a PDF says of itself.
struct MetadonneesPdf {
    QString titre, auteur, sujet;
    // PDF/A-1b, for archiving: fonts embedded, the metadata in XMP.
    bool archive = false;
};

class DocumentPdf final : public PageTwips {
public:
    using Metadonnees = MetadonneesPdf;

    // Throws pavonis::Erreur (Code::Plateforme) when the file cannot be made.
    explicit DocumentPdf(const QString& chemin, const Metadonnees& metadonnees = {});
    // To a device open for writing (a buffer, a host's storage); throws
    // pavonis::Erreur (Code::Plateforme) when it is not.
    explicit DocumentPdf(QIODevice& sortie, const Metadonnees& metadonnees = {});
    ~DocumentPdf() override;

    void NewPage() override;
    void EndDoc() override;

protected:
    QPainter& peintre() override;

private:
    void commencer(QIODevice& sortie, const Metadonnees& metadonnees);
    [[noreturn]] void echec() const;

    QString chemin_;
    std::unique_ptr<QSaveFile> fichier_; // when writing to a file
    std::unique_ptr<QPdfWriter> pdf_;
    QPainter peintre_;
    bool termine_ = false;
};

} // namespace pavonis::plateforme
