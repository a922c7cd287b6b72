#include <pavonis/platform/NavigateurAide.h>

#include <QFileInfo>
#include <QUrl>

namespace pavonis {

NavigateurAide::NavigateurAide(QWidget* parent) : QTextBrowser(parent)
{
    setOpenLinks(true);
    setOpenExternalLinks(false);
    setLineWrapMode(QTextEdit::WidgetWidth);
}

void NavigateurAide::Navigate2(const QString& adresse)
{
    adresse_ = adresse;
    const QUrl url = QUrl::fromUserInput(adresse);
    const QString fichier = url.isLocalFile() ? url.toLocalFile() : QString();
    introuvable_ = fichier.isEmpty() || !QFileInfo(fichier).isFile() || !QFileInfo(fichier).isReadable();
    if (introuvable_) {
        setHtml(QStringLiteral("<html><body style=\"font-family: sans-serif\">"
                               "<h3>Page introuvable</h3>"
                               "<p>La page demandée n'existe pas ou ne peut pas être lue :</p>"
                               "<p><tt>%1</tt></p></body></html>")
                    .arg(adresse.toHtmlEscaped()));
    } else {
        setSource(url);
    }
    emit navigationTerminee(adresse_);
}

} // namespace pavonis
