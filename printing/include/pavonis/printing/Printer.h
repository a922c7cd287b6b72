#pragma once

#include <pavonis/printing/ImprimanteInstallee.h>
#include <pavonis/printing/PagePeinte.h>

#include <memory>

namespace pavonis::impression {

// The current printer of this UI thread: where the next drawing goes. It
// starts as the system's default printer; Remplacer points it at another
// installed printer without touching the system's default. The first
// drawing starts a document, EndDoc sends it to the print server as one job.
class Printer final : public PagePeinte {
public:
    static Printer& courante();
    ~Printer() override;

    QString DeviceName() const { return imprimante_.DeviceName; }
    QString Port() const { return imprimante_.Port; }
    // Throws pavonis::Erreur while a document is being drawn.
    void remplacer(const ImprimanteInstallee& imprimante);

    // Title of the print job, as the print queue shows it.
    void definirTitre(const QString& titre) { titre_ = titre; }
    bool documentEnCours() const { return document_ != nullptr; }

    void nouvellePage() override;
    // Sends the pages drawn since the document started; nothing when nothing
    // was drawn. The printer is free for a new document afterwards, also
    // when sending failed.
    void EndDoc() override;
    // Drops the document being drawn, sending nothing.
    void abandonner();

protected:
    QPainter& peintre() override;

private:
    Printer();
    struct Document;

    ImprimanteInstallee imprimante_;
    QString titre_ = QStringLiteral("Pavonis");
    std::unique_ptr<Document> document_;
};

} // namespace pavonis::impression
