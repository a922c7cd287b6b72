// Moving about the screen: the small layout's scroll bar (what moves, by
// how much, however many events; the wheel and the focus moving it) and the
// help pane (placed and loaded by a hover, shown and hidden by a click on a
// variable's name, or by F1 from its controls).

#include "HoteEssai.h"
#include <pavonis/host/MagasinParametres.h>
#include <pavonis/platform/Ecran.h>
#include <pavonis/platform/NavigateurAide.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

using namespace pavonis;
using namespace pavonis::essai;

namespace {
QRect place(QWidget* w)
{
    return w->property("twips").toRect();
}
} // namespace

class TestNavigation : public QObject {
    Q_OBJECT

    std::unique_ptr<HoteEssai> hote_;
    Uc_Pavonis* c_ = nullptr;
    QScrollBar* barre_ = nullptr;
    NavigateurAide* volet_ = nullptr;
    QMap<QWidget*, int> hauts_; // design Tops

    QString page(int n, const QString& dossier = {}) const
    {
        return "file:" + (dossier.isEmpty() ? hote_->repertoireAide : dossier) + "/aide_aggir" +
               QString::number(n) + ".html";
    }
    // Every placed control against its design Top: the 27 on the surface
    // (but the bar) shifted up by `decalage`, the others in place.
    void verifierDecalage(int decalage)
    {
        int deplaces = 0;
        for (auto it = hauts_.cbegin(); it != hauts_.cend(); ++it) {
            const bool surLaSurface = it.key()->parentWidget() == c_ && it.key() != barre_;
            deplaces += surLaSurface;
            QCOMPARE(place(it.key()).y(), it.value() - (surLaSurface ? decalage : 0));
        }
        QCOMPARE(deplaces, 27);
        QCOMPARE(c_->valeurDefilement(), decalage / 250);
    }

    // What reaches the control of a wheel over a control, once the controls
    // under the mouse have let it go by (as they do on a display).
    void molette(const char* nom, int huitiemes)
    {
        QWidget* w = enfant(*c_, nom);
        const QPointF p = w->mapTo(c_, QPointF(w->rect().center()));
        QWheelEvent e(p, c_->mapToGlobal(p), {}, {0, huitiemes}, Qt::NoButton, {}, Qt::NoScrollPhase, false);
        QApplication::sendEvent(c_, &e);
    }

private slots:
    void init()
    {
        // The small layout for the scroll bar's tests, the large one else.
        const bool petite = QByteArray(QTest::currentTestFunction()).startsWith("defilement");
        Ecran::simulerHauteurPixels(petite ? 700 : 1024);
        hote_ = std::make_unique<HoteEssai>();
        // The real help pages, where the store's directory says they are.
        const QDir source(QStringLiteral(PAVONIS_AIDE));
        for (const QString& f : source.entryList(QDir::Files))
            QFile::copy(source.filePath(f), hote_->repertoireAide + '/' + f);
        c_ = hote_->creerControle();
        QVERIFY(montrer(hote_->fenetre()));
        c_->Init();
        barre_ = qobject_cast<QScrollBar*>(enfant(*c_, "Bdv_Controles"));
        volet_ = qobject_cast<NavigateurAide*>(enfant(*c_, "WB_Aide"));
        QCOMPARE(barre_->isEnabled() ? barre_->maximum() : 0, petite ? 14 : 0);
        hauts_.clear();
        for (QWidget* w : c_->findChildren<QWidget*>())
            if (w->property("twips").isValid())
                hauts_[w] = place(w).y();
    }
    void cleanup()
    {
        hote_.reset();
        Ecran::simulerHauteurPixels(0);
    }

    // Step by step with the arrows, 250 twips a step, stopping at the top.
    void defilementPasAPas()
    {
        for (int i = 1; i <= 5; ++i) {
            barre_->triggerAction(QAbstractSlider::SliderSingleStepAdd);
            verifierDecalage(250 * i);
        }
        QCOMPARE(place(enfant(*c_, "Cdr_Transferts2008")).y(), 840 - 1250);
        for (int i = 4; i >= -1; --i) {
            barre_->triggerAction(QAbstractSlider::SliderSingleStepSub);
            verifierDecalage(250 * std::max(i, 0));
        }
    }

    // The wheel over the form moves the bar a step a notch, half notches
    // adding up; over the shown help pane it scrolls the page alone.
    void defilementMolette()
    {
        for (int i = 0; i < 3; ++i)
            molette("Etq_Toilette2008", -120);
        verifierDecalage(750);
        molette("Cac_ToiletteHS", 60);
        verifierDecalage(750);
        molette("Cdr_Toilette2008", 60);
        verifierDecalage(500);
        cliquer(*c_, "Etq_Cuisine2008"); // the pane, shown over the left column
        molette("WB_Aide", -120);
        QCOMPARE(barre_->value(), 2);
    }

    // A control that takes the focus out of sight comes into it by the
    // smallest number of steps: Tab to the buttons, Shift+Tab back up.
    void defilementFocus()
    {
        enfant(*c_, "Txt_NomEnqueteur")->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); // "Retour": 9960 + 375 in 7560
        verifierDecalage(250 * 12);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); // "Imprimer", in sight
        verifierDecalage(250 * 12);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab); // back to 120
        verifierDecalage(0);
        enfant(*c_, "Opt_CoherenceComportementFait")->setFocus(); // 9240 + 840 + 120 + 255
        verifierDecalage(250 * 11);
    }

    // F1 on a variable's control shows or hides its help, as a hover and a
    // click on its name would; Escape in the pane hides it.
    void aideAuClavier()
    {
        enfant(*c_, "Cac_ToiletteBS")->setEnabled(true);
        for (const char* nom : {"Opt_ToiletteBFait", "Cac_ToiletteBS", "Txt_ToiletteNote"}) {
            enfant(*c_, nom)->setFocus();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
            QVERIFY(volet_->isVisible());
            QCOMPARE(volet_->LocationURL(), page(3));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
            QVERIFY(volet_->isHidden());
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
        volet_->setFocus();
        QTest::keyClick(volet_, Qt::Key_Escape);
        QVERIFY(volet_->isHidden());
        enfant(*c_, "Cmd_Imprimer")->setFocus(); // no variable's: nothing
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
        QVERIFY(volet_->isHidden());
    }

    // While the pane covers the other column, what it covers leaves the Tab
    // chain and no key reaches it; the others keep their order; Escape from
    // anywhere hides the pane and gives the focus back; all comes back.
    void voletCouvrant()
    {
        const auto cycle = [&] {
            QStringList vus;
            QWidget* depart = enfant(*c_, "Txt_NomEnqueteur");
            depart->setFocus();
            do {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                vus << QApplication::focusWidget()->objectName();
            } while (QApplication::focusWidget() != depart && vus.size() < 300);
            return vus;
        };
        const QStringList sansVolet = cycle();
        // Over the right column: the frames from Suivi du traitement down
        // (after Init, a note box and the "Fait" option each).
        const QStringList couverts{"Txt_SuiviTraitementNote",
                                   "Opt_SuiviTraitementFait",
                                   "Txt_MenageNote",
                                   "Opt_MenageFait",
                                   "Txt_TransportsNote",
                                   "Opt_TransportsFait",
                                   "Txt_ActivitesTempsLibreNote",
                                   "Opt_ActivitesTempsLibreFait",
                                   "Txt_AchatsNote",
                                   "Opt_AchatsFait",
                                   "Txt_GestionNote",
                                   "Opt_GestionFait"};
        for (const QString& n : couverts)
            QVERIFY2(sansVolet.contains(n), qPrintable(n));
        enfant(*c_, "Opt_MenageFait")->setFocus();
        survoler(*c_, "Etq_Transferts2008");
        cliquer(*c_, "Etq_Transferts2008");
        QVERIFY(volet_->isVisible());
        QCOMPARE(QApplication::focusWidget(), volet_); // not left on a covered control
        QTest::keyClick(volet_, Qt::Key_Down);
        QVERIFY(qobject_cast<QRadioButton*>(enfant(*c_, "Opt_MenageFait"))->isChecked());
        QStringList attendus = sansVolet;
        for (const QString& n : couverts)
            attendus.removeAll(n);
        attendus.insert(attendus.size() - 1, "WB_Aide"); // first of the chain, before Txt_NomEnqueteur
        QCOMPARE(cycle(), attendus);
        enfant(*c_, "Opt_MenageFait")->setFocus(); // by the host's code: the keys go to the pane
        QCOMPARE(QApplication::focusWidget(), volet_);
        enfant(*c_, "Txt_NomEnqueteur")->setFocus();

        // Escape from a control of the visible column: the focus goes back to
        // where it was when the pane showed.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QVERIFY(volet_->isHidden());
        QCOMPARE(QApplication::focusWidget()->objectName(), "Opt_MenageFait");
        QCOMPARE(cycle(), sansVolet);
    }

    // A host window held at 7875 twips hides 12.5 steps: 12, half-way to even.
    void defilementFenetreRetenue()
    {
        hote_->fenetre().hide();
        hote_->fenetre().setMinimumHeight(7875 / 15);
        hote_->fenetre().show();
        QCOMPARE(barre_->maximum(), 12);
    }

    // Dragging sends many moves and one change: the screen moves once, to
    // where the thumb was let go; Init and "Retour" leave it there. The
    // hidden help pane moves with the rest, from where a hover puts it.
    void defilementGlisse()
    {
        QSignalSpy changements(barre_, &QScrollBar::valueChanged);
        barre_->setSliderDown(true);
        for (int v : {1, 3, 3, 7, 12, 14, 14})
            barre_->setSliderPosition(v);
        barre_->setSliderDown(false);
        QCOMPARE(changements.count(), 1);
        verifierDecalage(3500);
        c_->Init();
        verifierDecalage(3500);
        survoler(*c_, "Etq_Coherence2008");
        QCOMPARE(place(volet_).y(), 1320);
        cliquer(*c_, "Cmd_Retour");
        QCOMPARE(c_->valeurDefilement(), 0); // forgotten, nothing moved
        QCOMPARE(place(enfant(*c_, "Cmd_Retour")).y(), 9960 - 3500);
        // The next move starts from the forgotten value.
        barre_->triggerAction(QAbstractSlider::SliderSingleStepSub);
        QCOMPARE(place(enfant(*c_, "Cmd_Retour")).y(), 9960 - 3500 - 13 * 250);
        QCOMPARE(place(volet_).y(), 1320 - 13 * 250);
    }

    // The first hover places the hidden pane over the other column and
    // loads the page; a click on the name shows it above the controls.
    void premierSurvolPuisClic()
    {
        survoler(*c_, "Etq_Transferts2008");
        QVERIFY(volet_->isHidden());
        QCOMPARE(volet_->LocationURL(), page(1));
        QCOMPARE(place(volet_), QRect(7320, 1320, 6975, 5295));
        cliquer(*c_, "Etq_Transferts2008");
        QVERIFY(volet_->isVisible() && !volet_->pageIntrouvable());
        QVERIFY(volet_->toPlainText().contains("Transferts"));
        QWidget* cadre = enfant(*c_, "Cdr_Menage2008");
        QCOMPARE(c_->childAt(cadre->geometry().center()), volet_->viewport());
        molette("Etq_Transferts2008", -360); // the large layout does not scroll
        QCOMPARE(place(enfant(*c_, "Cdr_Transferts2008")).y(), 840);
    }

    void pageEtColonne_data()
    {
        QTest::addColumn<QStringList>("survols");
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("gauche");
        QTest::newRow("achats puis gestion") << QStringList{"Etq_Achats2008", "Cdr_Gestion2008"} << 15 << 120;
        QTest::newRow("gestion puis alerter")
            << QStringList{"Etq_Gestion2008", "Cdr_Alerter2008"} << 10 << 7320;
        QTest::newRow("cadre composé") << QStringList{"Cdr_Habillage2008"} << 5 << 7320;
        QTest::newRow("orientation") << QStringList{"Etq_Orientation2008"} << 16 << 7320;
        QTest::newRow("activités") << QStringList{"Cdr_ActivitesTempsLibre"} << 13 << 120;
        QTest::newRow("déplacements intérieurs") << QStringList{"Etq_DeplacementInterieurs2008"} << 2 << 7320;
    }
    void pageEtColonne()
    {
        QFETCH(QStringList, survols);
        QFETCH(int, page);
        QFETCH(int, gauche);
        for (const QString& nom : survols)
            survoler(*c_, qPrintable(nom));
        QCOMPARE(volet_->LocationURL(), this->page(page));
        QCOMPARE(place(volet_), QRect(gauche, 1320, 6975, 5295));
    }

    // A page is loaded once, however often its variable is hovered; the
    // controls inside a frame are no hover of it.
    void unChargementParPage()
    {
        QSignalSpy chargements(volet_, &NavigateurAide::navigationTerminee);
        for (int i = 0; i < 3; ++i) {
            survoler(*c_, "Etq_Menage2008");
            survoler(*c_, "Cdr_Menage2008");
        }
        survoler(*c_, "Etq_DeplacementExterieurs2008");
        survoler(*c_, "Etq_Transferts2008");
        QCOMPARE(chargements.count(), 3);
        QCOMPARE(chargements.at(2).first().toString(), page(1));
        for (const char* nom : {"Cac_MenageS", "Txt_MenageNote", "Opt_ToiletteHFait"})
            QTest::mouseMove(enfant(*c_, nom));
        QTest::mouseMove(enfant(*c_, "Cdr_ToiletteHaut2008"), QPoint(3, 3));
        QCoreApplication::processEvents();
        QCOMPARE(chargements.count(), 3);
    }

    // Pages are told apart by the last seven characters of their address:
    // after Init with another help folder the page shown stays for the same
    // variable, and the next one comes from the new folder.
    void finDAdresse()
    {
        survoler(*c_, "Etq_Cuisine2008");
        const QString autre = hote_->repertoireAide + "-bis";
        QDir().mkpath(autre + "/aide");
        hote_->magasin->ecrireEntree("CHEMINFICHIER", "1", (autre + "/data/").toStdString());
        c_->Init();
        survoler(*c_, "Cdr_Cuisine2008");
        QCOMPARE(volet_->LocationURL(), page(6));
        survoler(*c_, "Etq_Achats2008");
        QCOMPARE(volet_->LocationURL(), page(14, autre + "/aide"));
    }

    // A click toggles; the names of sub-variables and of rows are not
    // variables'; a double-click is one click; Init leaves the pane alone.
    void clicsSurLesNoms()
    {
        cliquer(*c_, "Etq_Achats2008");
        QVERIFY(volet_->isVisible());
        cliquer(*c_, "Etq_Achats2008");
        QVERIFY(volet_->isHidden());
        cliquer(*c_, "Etq_Achats2008", true);
        QVERIFY(volet_->isVisible());
        for (const char* nom : {"Label5", "Etq_ToiletteHaut", "Etq_HabillageMoyen", "Label7"})
            cliquer(*c_, nom);
        QVERIFY(volet_->isVisible());
        c_->Init();
        QVERIFY(volet_->isVisible());
        cliquer(*c_, "Etq_ActivitesTempsLibre");
        QVERIFY(volet_->isHidden());
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

QTEST_MAIN(TestNavigation)
#include "tst_navigation.moc"
