#include "HoteEssai.h"

#include <pavonis/host/ClientAutonome.h>
#include <pavonis/host/DroitsAutonomes.h>
#include <pavonis/host/EntreeParametre.h>
#include <pavonis/host/ServiceDateAutonome.h>
#include <pavonis/platform/Composants.h>
#include <pavonis/platform/DateDuJour.h>
#include <pavonis/platform/Ecran.h>

namespace pavonis::essai {

HoteEssai::HoteEssai()
{
    DateDuJour::simuler(QDate(2026, 12, 5));
    repertoireAide = dossier_.path() + "/pavonis/aide";
    QDir().mkpath(repertoireAide);
    magasin = MagasinParametres::ouvrir((dossier_.path() + "/parametres.sqlite").toStdString(),
                                        (dossier_.path() + "/pavonis/data/").toStdString());
    base = std::make_shared<BaseDonneesAutonome>(magasin);
    Composants::enregistrerClasse("Velmor.EntreeParametre",
                                  [] { return ObjetPtr(EntreeParametre::creer()); });
    Composants::enregistrerClasse("Velmor.ServiceDate", [] {
        return std::make_shared<ServiceDateAutonome>([] { return std::chrono::year{2026} / 12 / 5; });
    });
    fenetre_ = std::make_unique<QWidget>();
}

HoteEssai::~HoteEssai()
{
    fenetre_.reset();
    Composants::revoquerClasse("Velmor.EntreeParametre");
    Composants::revoquerClasse("Velmor.ServiceDate");
    Ecran::simulerHauteurPixels(0);
}

Uc_Pavonis* HoteEssai::creerControle()
{
    auto* c = new Uc_Pavonis(fenetre_.get());
    c->TheClient(std::make_shared<ClientAutonome>("E-1", "Essai"));
    c->TheDatabase(base);
    std::shared_ptr<IDroits> droits = std::make_shared<DroitsAutonomes>();
    c->DroitsUtilisateur(droits);
    return c;
}

bool EssaiControle::demarrer()
{
    const bool montree = montrer(hote_->fenetre());
    c_->Init();
    return montree;
}

QWidget* enfant(QWidget& controle, const char* nom)
{
    QWidget* w = controle.findChild<QWidget*>(QString::fromUtf8(nom));
    if (!w)
        qFatal("no control named %s", nom);
    return w;
}

QString texte(QWidget& controle, const char* nom)
{
    return qobject_cast<QLineEdit*>(enfant(controle, nom))->text();
}

QString legende(const QWidget* w)
{
    const bool texte = w->inherits("QLabel") || w->inherits("QPushButton");
    return w->property(texte ? "text" : "title").toString(); // a frame's title; none elsewhere
}

void cliquer(QWidget& controle, const char* nom, bool double_)
{
    QWidget* w = enfant(controle, nom);
    QTest::mouseEvent(double_ ? QTest::MouseDClick : QTest::MouseClick, w->window()->windowHandle(),
                      Qt::LeftButton, {}, w->mapTo(w->window(), w->rect().center()));
}

void survoler(QWidget& controle, const char* nom)
{
    QWidget* w = enfant(controle, nom);
    QPoint p = w->rect().center();
    if (!qobject_cast<QLabel*>(w))
        for (int x = w->width() - 3; x > 0; --x)
            if (!w->childAt(x, w->height() / 2)) {
                p = {x, w->height() / 2};
                break;
            }
    QTest::mouseMove(w->window()->windowHandle(), w->mapTo(w->window(), p));
}

bool montrer(QWidget& fenetre)
{
    fenetre.show();
    fenetre.activateWindow();
    return QTest::qWaitForWindowExposed(&fenetre) &&
           QTest::qWaitFor([&] { return fenetre.isActiveWindow(); });
}

void taper(QWidget* w, const QString& texte)
{
    for (QChar c : texte)
        if (c.unicode() < 128)
            QTest::keyClick(w, char(c.unicode()));
        else
            QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

} // namespace pavonis::essai
