// The help pane: hovering over a variable places it and loads the
// variable's page (once), a click on a name shows or hides it.

#include "HoteEssai.h"
#include "NavigateurAide.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>

using namespace pavonis;
using namespace pavonis::essai;

namespace {

QRect place(QWidget* w) { return w->property("twips").toRect(); }

// Moves the mouse over a variable's name, or over its frame where none of
// the frame's own controls is.
void survoler(QWidget& c, const char* nom)
{
    QWidget* w = enfant(c, nom);
    QPoint p = w->rect().center();
    if (!qobject_cast<QLabel*>(w))
        for (int x = w->width() - 3; x > 0; --x)
            if (!w->childAt(x, w->height() / 2)) {
                p = {x, w->height() / 2};
                break;
            }
    QTest::mouseMove(w, p);
    QCoreApplication::processEvents();
}

} // namespace

class TestAide : public QObject {
    Q_OBJECT

    std::unique_ptr<HoteEssai> hote_;
    Uc_Pavonis* c_ = nullptr;
    NavigateurAide* volet_ = nullptr;

    QString page(int n) const { return "file:" + hote_->repertoireAide + "/aide_aggir" + QString::number(n) + ".html"; }

private slots:
    void init()
    {
        hote_ = std::make_unique<HoteEssai>();
        // The real help pages, where the store's directory says they are.
        const QDir source(QStringLiteral(PAVONIS_AIDE));
        for (const QString& f : source.entryList(QDir::Files))
            QFile::copy(source.filePath(f), hote_->repertoireAide + '/' + f);
        c_ = hote_->creerControle();
        hote_->fenetre().show();
        QVERIFY(QTest::qWaitForWindowExposed(&hote_->fenetre()));
        c_->Init();
        volet_ = qobject_cast<NavigateurAide*>(enfant(*c_, "WB_Aide"));
    }
    void cleanup() { hote_.reset(); }

    void premierSurvolPuisClic()
    {
        survoler(*c_, "Etq_Transferts2008");
        QVERIFY(volet_->isHidden());
        QCOMPARE(volet_->LocationURL(), page(1));
        QCOMPARE(place(volet_), QRect(7320, 1320, 6975, 5295));
        cliquer(*c_, "Etq_Transferts2008");
        QVERIFY(volet_->isVisible());
        QVERIFY(!volet_->pageIntrouvable());
        QVERIFY(volet_->toPlainText().contains("Transferts"));
        // Drawn above the right column.
        QWidget* cadre = enfant(*c_, "Cdr_Menage2008");
        QCOMPARE(c_->childAt(cadre->geometry().center()), volet_->viewport());
    }

    void colonnes_data()
    {
        QTest::addColumn<QStringList>("survols");
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("gauche");
        QTest::newRow("achats puis gestion") << QStringList{"Etq_Achats2008", "Cdr_Gestion2008"} << 15 << 120;
        QTest::newRow("gestion puis alerter") << QStringList{"Etq_Gestion2008", "Cdr_Alerter2008"} << 10 << 7320;
        QTest::newRow("cadre composé") << QStringList{"Cdr_Habillage2008"} << 5 << 7320;
        QTest::newRow("orientation") << QStringList{"Etq_Orientation2008"} << 16 << 7320;
        QTest::newRow("activités") << QStringList{"Cdr_ActivitesTempsLibre"} << 13 << 120;
    }

    void colonnes()
    {
        QFETCH(QStringList, survols);
        QFETCH(int, page);
        QFETCH(int, gauche);
        for (const QString& nom : survols)
            survoler(*c_, nom.toUtf8().constData());
        QCOMPARE(volet_->LocationURL(), this->page(page));
        QCOMPARE(place(volet_), QRect(gauche, 1320, 6975, 5295));
    }

    // Pages are told apart by their last seven characters.
    void finsDePage()
    {
        QSignalSpy chargements(volet_, &NavigateurAide::navigationTerminee);
        survoler(*c_, "Etq_DeplacementExterieurs2008");
        survoler(*c_, "Etq_Transferts2008");
        survoler(*c_, "Cdr_DeplacementsExterieurs2008");
        QCOMPARE(chargements.count(), 3);
        QCOMPARE(chargements.at(1).first().toString(), page(1));
        QCOMPARE(chargements.at(2).first().toString(), page(11));
    }

    void unSeulChargementParVariable()
    {
        QSignalSpy chargements(volet_, &NavigateurAide::navigationTerminee);
        for (int i = 0; i < 5; ++i) {
            survoler(*c_, "Etq_Menage2008");
            survoler(*c_, "Cdr_Menage2008");
        }
        QCOMPARE(chargements.count(), 1);
        // Over the boxes inside the frame, nothing happens.
        survoler(*c_, "Etq_Cuisine2008");
        QCOMPARE(chargements.count(), 2);
        QTest::mouseMove(enfant(*c_, "Cac_MenageS"));
        QTest::mouseMove(enfant(*c_, "Txt_MenageNote"));
        QTest::mouseMove(enfant(*c_, "Cdr_ToiletteHaut2008"), QPoint(3, 3));
        QCoreApplication::processEvents();
        QCOMPARE(chargements.count(), 2);
        QCOMPARE(volet_->LocationURL(), page(6));
    }

    void clicsSurLesNoms()
    {
        cliquer(*c_, "Etq_Achats2008");
        QVERIFY(volet_->isVisible());
        cliquer(*c_, "Etq_Achats2008");
        QVERIFY(volet_->isHidden());
        cliquer(*c_, "Etq_Achats2008");
        cliquer(*c_, "Label5"); // a sub-variable's name is not a variable's
        QVERIFY(volet_->isVisible());
        cliquer(*c_, "Etq_Coherence2008");
        QVERIFY(volet_->isHidden());
        // Init does not touch the pane.
        cliquer(*c_, "Etq_Coherence2008");
        c_->Init();
        QVERIFY(volet_->isVisible());
    }

    // A missing page shows the browser's own "not found" page, nothing else.
    void pageManquante()
    {
        QFile::remove(hote_->repertoireAide + "/aide_aggir12.html");
        survoler(*c_, "Etq_Transports2008");
        cliquer(*c_, "Etq_Transports2008");
        QVERIFY(volet_->pageIntrouvable());
        QVERIFY(volet_->toPlainText().contains("Page introuvable"));
        QCOMPARE(volet_->LocationURL(), page(12));
        survoler(*c_, "Etq_Achats2008");
        QVERIFY(!volet_->pageIntrouvable());
    }
};

QTEST_MAIN(TestAide)
#include "tst_aide.moc"
