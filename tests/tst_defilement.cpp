// Scrolling on the small layout: what moves, by how much, whatever the
// number of events.

#include "DescriptionEcran.h"
#include "Ecran.h"
#include "HoteEssai.h"

#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

using namespace pavonis;
using namespace pavonis::essai;

namespace {
int haut(QWidget* w) { return w->property("twips").toRect().y(); }
} // namespace

class TestDefilement : public QObject {
    Q_OBJECT

    std::unique_ptr<HoteEssai> hote_;
    Uc_Pavonis* c_ = nullptr;
    QScrollBar* barre_ = nullptr;
    QMap<QWidget*, int> hautsDeConception_;

    // Every placed control compared with its design Top: those on the
    // surface (but the bar) shifted by `decalage`, the others in place.
    void verifierDecalage(int decalage)
    {
        int deplaces = 0;
        for (auto it = hautsDeConception_.cbegin(); it != hautsDeConception_.cend(); ++it) {
            QWidget* w = it.key();
            const bool surLaSurface = w->parentWidget() == c_ && w != barre_;
            deplaces += surLaSurface;
            QCOMPARE(haut(w), it.value() - (surLaSurface ? decalage : 0));
        }
        QCOMPARE(deplaces, 27);
        QCOMPARE(c_->valeurDefilement(), decalage / 250);
    }

private slots:
    void init()
    {
        Ecran::simulerHauteurPixels(700);
        hote_ = std::make_unique<HoteEssai>();
        c_ = hote_->creerControle();
        hote_->fenetre().show();
        QVERIFY(QTest::qWaitForWindowExposed(&hote_->fenetre()));
        c_->Init();
        barre_ = qobject_cast<QScrollBar*>(enfant(*c_, "Bdv_Controles"));
        QCOMPARE(barre_->maximum(), 14);
        hautsDeConception_.clear();
        for (QWidget* w : c_->findChildren<QWidget*>())
            if (w->property("twips").isValid())
                hautsDeConception_[w] = haut(w);
    }
    void cleanup()
    {
        hote_.reset();
        Ecran::simulerHauteurPixels(0);
    }

    void cinqPasEtRetour()
    {
        for (int i = 1; i <= 5; ++i) {
            barre_->triggerAction(QAbstractSlider::SliderSingleStepAdd);
            verifierDecalage(250 * i);
        }
        QCOMPARE(haut(enfant(*c_, "Cdr_Transferts2008")), 840 - 1250);
        for (int i = 4; i >= 0; --i) {
            barre_->triggerAction(QAbstractSlider::SliderSingleStepSub);
            verifierDecalage(250 * i);
        }
        // The arrows stop at the ends.
        barre_->triggerAction(QAbstractSlider::SliderSingleStepSub);
        verifierDecalage(0);
    }

    // Many Scroll events and one Change move the screen once.
    void glisserDe0A14()
    {
        QSignalSpy defilements(barre_, &QScrollBar::sliderMoved);
        QSignalSpy changements(barre_, &QScrollBar::valueChanged);
        barre_->setSliderDown(true);
        for (int v : {1, 3, 3, 7, 12, 14, 14})
            barre_->setSliderPosition(v);
        verifierDecalage(3500);
        barre_->setSliderDown(false);
        QVERIFY(defilements.count() >= 5);
        QCOMPARE(changements.count(), 1);
        verifierDecalage(3500);
        QCOMPARE(haut(enfant(*c_, "Cmd_Retour")), 9960 - 3500);
    }

    // The hidden help pane moves too; once a hover has placed it, the next
    // scroll moves it from there.
    void voletAide()
    {
        QWidget* volet = enfant(*c_, "WB_Aide");
        barre_->setValue(14);
        QCOMPARE(haut(volet), 4320 - 3500);
        QVERIFY(volet->isHidden());
        QWidget* etiquette = enfant(*c_, "Etq_Coherence2008"); // still in view
        QTest::mouseMove(etiquette, etiquette->rect().center());
        QTRY_COMPARE(haut(volet), 1320);
        barre_->triggerAction(QAbstractSlider::SliderSingleStepSub);
        QCOMPARE(haut(volet), 1320 + 250);
        QCOMPARE(c_->valeurDefilement(), 13);
    }

    // "Retour" forgets the scroll value without moving anything.
    void retourRemetLaValeurAZero()
    {
        barre_->setValue(6);
        QCOMPARE(c_->valeurDefilement(), 6);
        cliquer(*c_, "Cmd_Retour");
        QCOMPARE(c_->valeurDefilement(), 0);
        QCOMPARE(barre_->value(), 6);
        QCOMPARE(haut(enfant(*c_, "Cdr_Gestion2008")), 3720 - 1500);
    }

    // A new evaluation leaves the scroll position alone.
    void initNeDefilePas()
    {
        barre_->setValue(4);
        c_->Init();
        verifierDecalage(1000);
    }
};

QTEST_MAIN(TestDefilement)
#include "tst_defilement.moc"
