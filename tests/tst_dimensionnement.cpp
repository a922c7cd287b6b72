// The two layouts, chosen at each showing by the screen height, and the
// range of the scroll bar on the small one.

#include "Ecran.h"
#include "HoteEssai.h"
#include "Twips.h"

#include <QScrollBar>
#include <QTest>

using namespace pavonis;
using namespace pavonis::essai;

class TestDimensionnement : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { Ecran::simulerHauteurPixels(0); }

    void dispositions_data()
    {
        QTest::addColumn<int>("ecran");
        QTest::addColumn<int>("hauteurFenetreFixe"); // twips; 0: the window takes any height
        QTest::addColumn<QSize>("taille");          // twips, host window and control
        QTest::addColumn<bool>("barreActive");
        QTest::addColumn<int>("maximum");
        QTest::newRow("1080") << 1080 << 0 << QSize(14480, 11000) << false << 32767;
        QTest::newRow("768") << 768 << 0 << QSize(14480, 11000) << false << 32767;
        QTest::newRow("767") << 767 << 0 << QSize(14775, 7560) << true << 14;
        QTest::newRow("600") << 600 << 0 << QSize(14775, 7560) << true << 14;
        QTest::newRow("fenêtre de 9000") << 600 << 9000 << QSize(14775, 9000) << true << 8;
    }

    void dispositions()
    {
        QFETCH(int, ecran);
        QFETCH(int, hauteurFenetreFixe);
        QFETCH(QSize, taille);
        QFETCH(bool, barreActive);
        QFETCH(int, maximum);
        Ecran::simulerHauteurPixels(ecran);
        HoteEssai hote;
        Uc_Pavonis* c = hote.creerControle();
        if (hauteurFenetreFixe)
            hote.fenetre().setFixedHeight(Twips::versPixelsY(hauteurFenetreFixe));
        hote.fenetre().show();
        QVERIFY(QTest::qWaitForWindowExposed(&hote.fenetre()));
        QCOMPARE(hote.fenetre().size(), QSize(Twips::versPixelsX(taille.width()), Twips::versPixelsY(taille.height())));
        const int hauteurControle = taille.height() == 9000 ? 7560 : taille.height();
        QCOMPARE(c->size(), QSize(Twips::versPixelsX(taille.width()), Twips::versPixelsY(hauteurControle)));
        auto* barre = qobject_cast<QScrollBar*>(enfant(*c, "Bdv_Controles"));
        QCOMPARE(barre->isEnabled(), barreActive);
        QCOMPARE(barre->minimum(), 0);
        QCOMPARE(barre->maximum(), maximum);
        QCOMPARE(barre->value(), 0);
    }

    // The sizing runs again at each showing.
    void aChaqueAffichage()
    {
        Ecran::simulerHauteurPixels(1024);
        HoteEssai hote;
        Uc_Pavonis* c = hote.creerControle();
        hote.fenetre().show();
        QVERIFY(QTest::qWaitForWindowExposed(&hote.fenetre()));
        auto* barre = qobject_cast<QScrollBar*>(enfant(*c, "Bdv_Controles"));
        QVERIFY(!barre->isEnabled());
        c->hide();
        Ecran::simulerHauteurPixels(700);
        c->show();
        QVERIFY(barre->isEnabled());
        QCOMPARE(barre->maximum(), 14);
        QCOMPARE(hote.fenetre().height(), Twips::versPixelsY(7560));
    }
};

QTEST_MAIN(TestDimensionnement)
#include "tst_dimensionnement.moc"
