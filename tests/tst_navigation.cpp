// Moving about the screen: the small layout's scroll bar, the help pane and its keys.

#include "HoteEssai.h"
#include "OutilsEssai.h"
#include <pavonis/platform/Ecran.h>
#include <pavonis/platform/NavigateurAide.h>

using namespace pavonis;
using namespace pavonis::essai;

constexpr auto kBas = QAbstractSlider::SliderSingleStepAdd, kHaut = QAbstractSlider::SliderSingleStepSub;

class TestNavigation : public EssaiControle {
    Q_OBJECT

    QScrollBar* barre_ = nullptr;
    NavigateurAide* volet_ = nullptr;

    static QRect place(QWidget* w) { return w->property("twips").toRect(); }
    QString volet() const // shown or hidden; address less "file:", the help folder, "/aide_aggir", ".html"
    {
        const QString a = volet_->LocationURL().remove("file:" + hote_->repertoireAide).remove("/aide_aggir");
        return (volet_->isVisible() ? "montré " : "caché ") + QString(a).remove(".html");
    }
    // The steps, then the controls off their reviewed Top: on the surface but the bar, 250 twips a step less.
    QString defile() const
    {
        QString s = QString::number(c_->valeurDefilement());
        for (const QString& l : donnee("ecran-inventaire.tsv").split('\n', Qt::SkipEmptyParts).mid(1)) {
            const QStringList c = l.split('\t'); // name, kind, container, caption, left, top...
            const int monte = c[2].isEmpty() && c[0] != "Bdv_Controles" ? 250 * c_->valeurDefilement() : 0;
            if (c[0] != "WB_Aide" && place(enfant(*c_, qPrintable(c[0]))).y() != c[5].toInt() - monte)
                s += ' ' + c[0];
        }
        return s;
    }
    // A wheel over `nom`, reaching the surface as the controls under the mouse let it by; then the scroll.
    QString roule(const char* nom, int huitiemes)
    {
        const QPointF p = enfant(*c_, nom)->mapTo(c_, enfant(*c_, nom)->rect().center());
        QWheelEvent e(p, c_->mapToGlobal(p), {}, {0, huitiemes}, Qt::NoButton, {}, Qt::NoScrollPhase, false);
        return QApplication::sendEvent(c_, &e), defile();
    }
    // A key (to `nom`, focused) or a click through the window, then the pane; Tab or the bar, the scroll.
    QString touche(Qt::Key k) { return QTest::keyClick(QApplication::focusWidget(), k), volet(); }
    QString sur(const char* nom, Qt::Key k) { return enfant(*c_, nom)->setFocus(), touche(k); }
    static QString et(const QStringList& l) { return l.join(", "); }
    QString clic(const char* nom, bool double_ = false) { return cliquer(*c_, nom, double_), volet(); }
    QString tab(int sens) { return touche(sens > 0 ? Qt::Key_Tab : Qt::Key_Backtab), defile(); }
    QString pas(QAbstractSlider::SliderAction a) { return barre_->triggerAction(a), defile(); }

private slots:
    void init()
    {
        Ecran::simulerHauteurPixels(qstrcmp(QTest::currentTestFunction(), "defilement") ? 1024 : 700);
        EssaiControle::init();
        for (const QFileInfo& f : QDir(PAVONIS_AIDE).entryInfoList(QDir::Files)) // the real help pages
            QFile::copy(f.filePath(), hote_->repertoireAide + '/' + f.fileName());
        QVERIFY(demarrer());
        QTest::mouseMove(hote_->fenetre().windowHandle(), {}); // off what the last test hovered
        barre_ = qobject_cast<QScrollBar*>(enfant(*c_, "Bdv_Controles"));
        volet_ = qobject_cast<NavigateurAide*>(enfant(*c_, "WB_Aide"));
    }

    // The small layout: the hidden focus scrolls the fewest steps; a wheel notch a step (over the pane, its
    // page's); the bar 250 twips a step, a drag once, kept by Init; the pane moves along; "Retour" W_Sortir.
    void defilement()
    {
        QCOMPARE(et({pas(kBas), pas(kHaut), pas(kHaut)}), "1, 0, 0"); // stopping at the top
        enfant(*c_, "Txt_NomEnqueteur")->setFocus(); // then "Retour" (9960 + 375 in 7560), "Imprimer", back
        QCOMPARE(et({tab(1), tab(1), tab(-1), tab(-1)}), "12, 12, 12, 0");
        enfant(*c_, "Opt_CoherenceComportementFait")->setFocus(); // 9240 + 840 + 120 + 255
        QCOMPARE(defile(), "11");
        barre_->setValue(0);
        for (const char* crans : {"1", "2", "3"})
            QCOMPARE(roule("Etq_Toilette2008", -120), crans);
        QCOMPARE(et({roule("Cac_ToiletteHS", 60), roule("Cdr_Toilette2008", 60)}), "3, 2"); // halves add up
        clic("Etq_Cuisine2008"); // the pane, shown over the left column
        QCOMPARE(et({roule("WB_Aide", -120), QString::number(barre_->value())}), "2, 2");
        touche(Qt::Key_Escape);
        QSignalSpy changements(barre_, &QScrollBar::valueChanged);
        barre_->setSliderDown(true);
        for (int v : {1, 3, 3, 7, 12, 14, 14})
            barre_->setSliderPosition(v);
        barre_->setSliderDown(false);
        QCOMPARE(et({QString::number(changements.count()), defile(), (c_->Init(), defile())}), "1, 14, 14");
        survoler(*c_, "Etq_Coherence2008"); // places the hidden pane
        QCOMPARE(place(volet_).y(), 1320);
        pas(kHaut);
        QCOMPARE(place(volet_).y(), 1320 + 250);
        cliquer(*c_, "Cmd_Retour");
        QVERIFY(c_->W_Sortir() && hote_->fenetre().isHidden());
    }

    // Over a column the pane quits the Tab chain, takes the keys, hides on Escape; name clicks, F1 toggle it.
    void couvertureEtBascules()
    {
        const auto cycle = [&] {
            QStringList vus;
            enfant(*c_, "Txt_NomEnqueteur")->setFocus();
            do
                touche(Qt::Key_Tab);
            while ((vus << focus()).size() < 300 && vus.last() != "Txt_NomEnqueteur");
            return vus;
        };
        const QStringList sansVolet = cycle();
        QStringList attendus = sansVolet; // less the right column from Suivi du traitement down
        for (QString v :
             QString("SuiviTraitement Menage Transports ActivitesTempsLibre Achats Gestion").split(' '))
            QCOMPARE(attendus.removeAll("Txt_" + v + "Note") + attendus.removeAll("Opt_" + v + "Fait"), 2);
        attendus.insert(attendus.size() - 1, "WB_Aide"); // first of the chain
        enfant(*c_, "Opt_MenageFait")->setFocus(); // the shown pane takes the focus from it, and its keys
        QVERIFY(clic("Etq_Transferts2008") == "montré 1" && volet_->toPlainText().contains("Transferts"));
        QCOMPARE(et({focus(), touche(Qt::Key_Down)}), "WB_Aide, montré 1");
        QVERIFY(qobject_cast<QRadioButton*>(enfant(*c_, "Opt_MenageFait"))->isChecked());
        QCOMPARE(cycle(), attendus);
        enfant(*c_, "Opt_MenageFait")->setFocus(); // by the host's code: the keys go to the pane
        QCOMPARE(focus(), "WB_Aide");
        QCOMPARE(et({sur("Txt_NomEnqueteur", Qt::Key_Escape), focus()}), "caché 1, Opt_MenageFait");
        QCOMPARE(cycle(), sansVolet);
        QCOMPARE(et({clic("Etq_Transferts2008"), clic("Etq_Transferts2008")}), "montré 1, caché 1");
        clic("Etq_Achats2008", true); // one click
        for (const char* nom : {"Label5", "Etq_ToiletteHaut", "Etq_HabillageMoyen", "Label7"})
            clic(nom); // no variable's names
        c_->Init();
        QCOMPARE(et({volet(), clic("Etq_ActivitesTempsLibre")}), "montré 14, caché 13"); // another's
        QCOMPARE(roule("Etq_Transferts2008", -360), "0"); // the large layout does not scroll
        enfant(*c_, "Cac_ToiletteBS")->setEnabled(true);
        for (const char* nom : {"Opt_ToiletteBFait", "Cac_ToiletteBS", "Txt_ToiletteNote"})
            QCOMPARE(et({sur(nom, Qt::Key_F1), touche(Qt::Key_F1)}), "montré 3, caché 3");
        touche(Qt::Key_F1);
        QTest::keyClick(volet_, Qt::Key_Escape);
        QCOMPARE(sur("Cmd_Imprimer", Qt::Key_F1), "caché 3"); // no variable's control
    }

    // A hover places the hidden pane over the other column, loading the page unless the address' last 7
    // characters match (11.html, r1.html), not over a frame's controls; a missing page is said, no error.
    void pageEtColonne_data()
    {
        colonnes<QString, QString>(); // hovers and Inits (then "-bis"); the pane, its left, pages loaded
        QTest::newRow("transferts") << "Etq_Transferts2008" << QString("caché 1 7320 1");
        QTest::newRow("achats, gestion") << "Etq_Achats2008 Cdr_Gestion2008" << QString("caché 15 120 2");
        QTest::newRow("gestion, alerter") << "Etq_Gestion2008 Cdr_Alerter2008" << QString("caché 10 7320 2");
        QTest::newRow("cadre composé") << "Cdr_Habillage2008" << QString("caché 5 7320 1");
        QTest::newRow("orientation") << "Etq_Orientation2008" << QString("caché 16 7320 1");
        QTest::newRow("activités") << "Cdr_ActivitesTempsLibre" << QString("caché 13 120 1");
        QTest::newRow("déplacements") << "Etq_DeplacementInterieurs2008" << QString("caché 2 7320 1");
        QTest::newRow("une fois par page") << "Etq_Menage2008 Cdr_Menage2008 Etq_Menage2008 Cdr_Menage2008 "
                                              "Etq_DeplacementExterieurs2008 Etq_Transferts2008 Cac_MenageS "
                                              "Txt_MenageNote Opt_ToiletteHFait Cdr_ToiletteHaut2008"
                                           << QString("caché 1 7320 3");
        QTest::newRow("autre dossier") << "Etq_Cuisine2008 Init Cdr_Cuisine2008" << QString("caché 6 120 1");
        QTest::newRow("manquante") << "Init Etq_Achats2008" << QString("caché -bis/aide14 120 1 introuvable");
        QTest::newRow("après") << "Init Etq_Achats2008 Etq_Gestion2008" << QString("caché -bis/aide15 120 2");
    }
    void pageEtColonne()
    {
        const auto [etapes, attendu] = ligne<QString, QString>();
        const QString autre = hote_->repertoireAide + "-bis"; // with page 15 alone
        QDir().mkpath(autre + "/aide");
        QFile::copy(hote_->repertoireAide + "/aide_aggir15.html", autre + "/aide/aide_aggir15.html");
        hote_->magasin->ecrireEntree("CHEMINFICHIER", "1", (autre + "/data/").toStdString());
        QSignalSpy chargements(volet_, &NavigateurAide::navigationTerminee), erreurs(c_, &Uc_Pavonis::erreur);
        for (const QString& e : etapes.split(' '))
            e == "Init" ? c_->Init() : survoler(*c_, qPrintable(e));
        const QRect p = place(volet_);
        const char* manque = volet_->pageIntrouvable() ? " introuvable" : "";
        QCOMPARE(QString("%1 %2 %3").arg(volet()).arg(p.x()).arg(chargements.count()) + manque, attendu);
        QCOMPARE(p.translated(-p.x(), 0), QRect(0, 1320, 6975, 5295));
        QVERIFY(erreurs.isEmpty() && volet_->toPlainText().contains("Page introuvable") == (*manque != 0));
    }
};

QTEST_MAIN(TestNavigation)
#include "tst_navigation.moc"
