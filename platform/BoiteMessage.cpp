#include <pavonis/platform/BoiteMessage.h>

#include <QMessageBox>

namespace pavonis {

namespace {
BoiteMessage::Intercepteur& intercepteurCourant()
{
    static BoiteMessage::Intercepteur intercepteur;
    return intercepteur;
}
} // namespace

BoiteMessage::Intercepteur BoiteMessage::intercepter(Intercepteur intercepteur)
{
    return std::exchange(intercepteurCourant(), std::move(intercepteur));
}

void BoiteMessage::afficher(QWidget* parent, const QString& texte, const QString& titre, Icone icone)
{
    if (const Intercepteur& i = intercepteurCourant()) {
        i({texte, titre, icone});
        return;
    }
    QMessageBox boite(parent);
    boite.setWindowTitle(titre);
    boite.setText(texte);
    boite.setStandardButtons(QMessageBox::Ok);
    switch (icone) {
    case Icone::Aucune:
        boite.setIcon(QMessageBox::NoIcon);
        break;
    case Icone::Information:
        boite.setIcon(QMessageBox::Information);
        break;
    case Icone::Exclamation:
        boite.setIcon(QMessageBox::Warning);
        break;
    case Icone::Critique:
        boite.setIcon(QMessageBox::Critical);
        break;
    }
    boite.exec();
}

} // namespace pavonis
