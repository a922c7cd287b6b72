#include "HoteEssai.h"

#include <pavonis/host/BaseDonneesAutonome.h>
#include <pavonis/host/ClientAutonome.h>
#include <pavonis/host/DroitsAutonomes.h>
#include <pavonis/host/EntreeParametre.h>
#include <pavonis/host/MagasinParametres.h>
#include <pavonis/host/ServiceDateAutonome.h>
#include <pavonis/platform/Composants.h>
#include <pavonis/platform/DateDuJour.h>

#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace pavonis::essai {

HoteEssai::HoteEssai()
{
    DateDuJour::simuler(QDate(2026, 12, 5));
    const QString installation = dossier_.path() + "/pavonis/data/";
    repertoireAide = dossier_.path() + "/pavonis/aide";
    QDir().mkpath(repertoireAide);
    magasin = MagasinParametres::ouvrir((dossier_.path() + "/parametres.sqlite").toStdString(),
                                        installation.toStdString());
    base = std::make_shared<BaseDonneesAutonome>(magasin);
    Composants::enregistrerClasse("Velmor.EntreeParametre",
                                  [] { return ObjetPtr(EntreeParametre::creer()); });
    Composants::enregistrerClasse("Velmor.ServiceDate", [] {
        return std::make_shared<ServiceDateAutonome>([] {
            using namespace std::chrono;
            return year_month_day{year{2026}, month{12}, day{5}};
        });
    });
    fenetre_ = std::make_unique<QWidget>();
}

HoteEssai::~HoteEssai()
{
    fenetre_.reset();
    Composants::revoquerClasse("Velmor.EntreeParametre");
    Composants::revoquerClasse("Velmor.ServiceDate");
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
    if (auto* l = qobject_cast<const QLabel*>(w))
        return l->text();
    if (auto* g = qobject_cast<const QGroupBox*>(w))
        return g->title();
    if (auto* b = qobject_cast<const QPushButton*>(w))
        return b->text();
    return {};
}

void cliquer(QWidget& controle, const char* nom, bool double_)
{
    QWidget* w = enfant(controle, nom);
    const QPoint p = w->mapTo(w->window(), w->rect().center());
    if (double_)
        QTest::mouseDClick(w->window()->windowHandle(), Qt::LeftButton, {}, p);
    else
        QTest::mouseClick(w->window()->windowHandle(), Qt::LeftButton, {}, p);
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
    for (QChar c : texte) {
        if (c.unicode() < 128)
            QTest::keyClick(w, char(c.unicode()));
        else
            QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

} // namespace pavonis::essai
