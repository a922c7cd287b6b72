// The control's life cycle through its real widgets, and the host window it sizes and closes.

#include "HoteEssai.h"
#include "OutilsEssai.h"
#include <pavonis/platform/Ecran.h>
#include <pavonis/platform/Twips.h>

using namespace pavonis;
using namespace pavonis::essai;

const QString kTitre = "Outil grille Aggir révision 2008";

static QString instantane(QWidget& c) // everything the evaluation shows
{
    QString s;
    for (QAbstractButton* b : c.findChildren<QAbstractButton*>())
        s += b->objectName() + (b->isChecked() ? "1" : "0") + (b->isEnabled() ? "e;" : "d;");
    for (QLineEdit* z : c.findChildren<QLineEdit*>())
        s += z->objectName() + "=" + z->text() + ';';
    return s;
}

class TestControle : public EssaiControle {
    Q_OBJECT

    QString aide() const { return "file:" + hote_->repertoireAide + "/aide_aggir"; }
    void cliquerTout(const QString& noms) // a regular expression; in the screen's order
    {
        for (QWidget* w : c_->findChildren<QWidget*>(QRegularExpression("^(" + noms + ")$")))
            cliquer(*c_, qPrintable(w->objectName()));
    }

private slots:

    void menusEnFrancais() // Qt's own texts, the host having installed no translation
    {
        const auto textes = [](auto* w) {
            const std::unique_ptr<QMenu> m(w->createStandardContextMenu());
            QString t;
            for (QAction* a : m->actions())
                t += a->text().remove('&').section('\t', 0, 0) + '|';
            return t;
        };
        const QString nom = textes(qobject_cast<QLineEdit*>(enfant(*c_, "Txt_NomBenef")));
        for (QString attendu : {"Annuler", "Rétablir", "Couper", "Copier", "Coller", "Tout sélectionner"})
            QVERIFY2(nom.contains(attendu + '|'), qPrintable(nom));
        QVERIFY(textes(qobject_cast<QTextBrowser*>(enfant(*c_, "WB_Aide"))).contains("Tout sélectionner|"));
    }

    // Init from the design state; "Nouvelle évaluation" gives that state again, without asking.
    void initEtNouvelleEvaluation()
    {
        c_->W_Code("X-42");
        QVERIFY(demarrer());
        QCOMPARE(hote_->fenetre().windowTitle() + '|' + c_->cheminAide(), kTitre + '|' + aide());
        const QString neuf = instantane(*c_); // "Fait" options on, boxes off and disabled, notes "A"
        QVERIFY2(!neuf.contains(QRegularExpression("Fait0|FaitPas1|Cac_\\w+(1|e;)|(?i:Note)=(?!A;)")),
                 qPrintable(neuf));
        QCOMPARE(texte(*c_, "Txt_Groupe") + texte(*c_, "Txt_SousGroupe") + texte(*c_, "Txt_DateEval"),
                 "6A05/12/2026");
        QVERIFY(c_->W_Code() == "X-42" && !c_->W_Sortir());
        cliquerTout("Opt_.*FaitPas|Cac_ToiletteHS|Cac_CuisineH"); // all "Ne fait pas", nothing ticked: GIR 1
        QCOMPARE(texte(*c_, "Txt_Groupe") + texte(*c_, "Txt_ToiletteHNote"), "1B");
        taper(enfant(*c_, "Txt_NomBenef"), "Jeanne Martin");
        cliquer(*c_, "Cmd_NouvelleEval");
        QCOMPARE(instantane(*c_), neuf);
    }

    // A failing Init step: earlier ones took effect, later not; without table C, clicks needing it fail.
    void initEnEchec_data()
    {
        colonnes<QString, QString, QString, QString>(); // fault, message, help path ("*": the store's), name
        QTest::newRow("sans base") << "base" << QString("TheDatabase") << "" << QString("Jeanne");
        QTest::newRow("sans chemin") << "section" << QString("CHEMINFICHIER") << "" << QString("Jeanne");
        QTest::newRow("court") << "abcd" << QString("moins de 5 caractères") << "" << QString("Jeanne");
        QTest::newRow("de 5 caractères") << "data/" << QString() << "file:aide/aide_aggir" << QString();
        QTest::newRow("sans table C") << "C" << QString("groupe C") << "*" << QString();
    }
    void initEnEchec()
    {
        const auto [defaut, message, cheminAide, nomBenef] = ligne<QString, QString, QString, QString>();
        defaut == "base"      ? c_->TheDatabase(nullptr)
        : defaut == "section" ? hote_->magasin->supprimerSection("CHEMINFICHIER")
        : defaut == "C"       ? hote_->magasin->supprimerEntree("AGGIRPARAM", "C")
                              : hote_->magasin->ecrireEntree("CHEMINFICHIER", "1", defaut.toStdString());
        QVERIFY(montrer(hote_->fenetre()));
        taper(enfant(*c_, "Txt_NomBenef"), "Jeanne");
        const QString m = erreurDe([&] { c_->Init(); });
        QVERIFY2(message.isEmpty() ? m.isEmpty() : m.contains(message), qPrintable(m));
        QCOMPARE(hote_->fenetre().windowTitle() + '|' + c_->cheminAide() + '|' + texte(*c_, "Txt_NomBenef"),
                 kTitre + '|' + (cheminAide == "*" ? aide() : cheminAide) + '|' + nomBenef); // step 1 ran
        if (defaut != "C")
            return;
        QSignalSpy erreurs(c_, &Uc_Pavonis::erreur); // a receiver: no message box
        cliquerTout("Opt_.*FaitPas");
        erreurs.clear();
        cliquerTout("Opt_TransfertsFait"); // A 3640, B 2860: GIR 2 without group C
        QCOMPARE(texte(*c_, "Txt_Groupe") + QString::number(erreurs.count()), "20");
        cliquerTout("Opt_CoherenceCommunicationFait|Opt_CoherenceComportementFait"); // "B", then "A"
        QVERIFY(!erreurs.isEmpty() && erreurs.last().first().toString().contains("groupe C"));
        QCOMPARE(texte(*c_, "Txt_CoherenceNote") + texte(*c_, "Txt_Groupe"), "A2"); // the older GIR kept
    }

    // The layout follows the screen's height at each showing; the bar scrolls what the window hides.
    void dispositions_data()
    {
        colonnes<int, int, QSize, int>(); // screen pixels; fixed twips (0: any); window twips; max (-1: off)
        QTest::newRow("768") << 768 << 0 << QSize(14480, 11000) << -1;
        QTest::newRow("767") << 767 << 0 << QSize(14775, 7560) << 14;
        QTest::newRow("fenêtre de 9000") << 600 << 9000 << QSize(14775, 9000) << 8;
        QTest::newRow("fenêtre de 7875, au pair") << 600 << 7875 << QSize(14775, 7875) << 12;
    }
    void dispositions()
    {
        const auto [ecran, fixe, taille, maximum] = ligne<int, int, QSize, int>();
        Ecran::simulerHauteurPixels(ecran);
        if (fixe)
            hote_->fenetre().setFixedHeight(Twips::versPixelsY(fixe));
        QVERIFY(montrer(hote_->fenetre()));
        QCOMPARE(hote_->fenetre().size(),
                 QSize(Twips::versPixelsX(taille.width()), Twips::versPixelsY(taille.height())));
        QCOMPARE(c_->height(), Twips::versPixelsY(fixe ? 7560 : taille.height()));
        auto* barre = qobject_cast<QScrollBar*>(enfant(*c_, "Bdv_Controles"));
        QCOMPARE(barre->isEnabled() ? barre->maximum() : -1, maximum);
        c_->hide(); // and again at the next showing
        Ecran::simulerHauteurPixels(ecran >= 768 ? 700 : 1024);
        c_->show();
        QCOMPARE(barre->isEnabled(), ecran >= 768);
    }

    // An MDI sub-window is the host window: its caption and size change, not the application's.
    void fenetreMdi()
    {
        QMdiArea application;
        application.setWindowTitle("Application hôte");
        c_->setParent(new QWidget); // its host window, to be the sub-window's content
        QMdiSubWindow* sous = application.addSubWindow(c_->parentWidget()); // shown with the area
        QVERIFY(montrer(application));
        c_->Init();
        QCOMPARE(sous->windowTitle() + '|' + application.windowTitle(), kTitre + "|Application hôte");
        QCOMPARE(c_->parentWidget()->height(), Twips::versPixelsY(11000));
    }
};

QTEST_MAIN(TestControle)
#include "tst_controle.moc"
