#pragma once

#include <pavonis/hostapi/Visibilite.h>

#include <QTextBrowser>

namespace pavonis {

// The embedded web browser of the help pane: shows local HTML pages. An
// address that cannot be read shows the browser's own "page not found" page,
// never an error dialog.
class PAVONIS_API NavigateurAide : public QTextBrowser {
    Q_OBJECT
public:
    explicit NavigateurAide(QWidget* parent = nullptr);

    // Loads the page at `adresse` ("file:..." or a local path).
    void Navigate2(const QString& adresse);
    // The address of the page shown (empty before the first navigation).
    QString LocationURL() const { return adresse_; }

    // True when the last navigation found no page.
    bool pageIntrouvable() const { return introuvable_; }

signals:
    void navigationTerminee(const QString& adresse);

private:
    QString adresse_;
    bool introuvable_ = false;
};

} // namespace pavonis
