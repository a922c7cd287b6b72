// The control's life cycle through its real widgets: Init and its failures,
// "Nouvelle évaluation", what controls of one thread share, the host
// window (top-level or MDI sub-window) and its sizing, "Retour", and the
// evaluation as data beside the control's own interface.

#include "HoteEssai.h"
#include "OutilsEssai.h"
#include <pavonis/host/BaseDonneesAutonome.h>
#include <pavonis/host/DroitsAutonomes.h>
#include <pavonis/host/MagasinParametres.h>
#include <pavonis/platform/DateDuJour.h>
#include <pavonis/platform/Ecran.h>
#include <pavonis/platform/Twips.h>

#include <pavonis/hostapi/Erreur.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

using namespace pavonis;
using namespace pavonis::essai;

namespace {

// Everything the evaluation shows, for comparing two states.
QString instantane(QWidget& c)
{
    QString s;
    for (QWidget* w : c.findChildren<QWidget*>()) {
        if (auto* o = qobject_cast<QRadioButton*>(w))
            s += o->objectName() + (o->isChecked() ? "+" : "-");
        else if (auto* k = qobject_cast<QCheckBox*>(w))
            s += k->objectName() + (k->isChecked() ? "1" : "0") + (k->isEnabled() ? "e" : "d");
        else if (auto* z = qobject_cast<QLineEdit*>(w))
            s += z->objectName() + "=" + z->text();
        s += ';';
    }
    return s;
}

QStringList toutesFaitPas(QWidget& c)
{
    QStringList n;
    for (QRadioButton* o : c.findChildren<QRadioButton*>())
        if (o->objectName().endsWith("FaitPas"))
            n << o->objectName();
    return n;
}

} // namespace

class TestControle : public QObject {
    Q_OBJECT

    std::unique_ptr<HoteEssai> hote_;
    Uc_Pavonis* c_ = nullptr;

    void cliquerTout(const QStringList& noms)
    {
        for (const QString& n : noms)
            cliquer(*c_, qPrintable(n));
    }

private slots:
    void init()
    {
        hote_ = std::make_unique<HoteEssai>();
        c_ = hote_->creerControle();
    }
    void cleanup()
    {
        hote_.reset();
        Ecran::simulerHauteurPixels(0);
    }

    // Qt's own texts in French where the host installed no translation of
    // them: the context menus of the name boxes and of the help pane.
    void menusEnFrancais()
    {
        const auto textes = [](QMenu* m) {
            QStringList t;
            for (QAction* a : m->actions())
                t << a->text().remove('&').section('\t', 0, 0);
            delete m;
            return t;
        };
        const QStringList nom =
            textes(qobject_cast<QLineEdit*>(enfant(*c_, "Txt_NomBenef"))->createStandardContextMenu());
        for (const char* attendu : {"Annuler", "Rétablir", "Couper", "Copier", "Coller", "Tout sélectionner"})
            QVERIFY2(nom.contains(QString::fromUtf8(attendu)), qPrintable(nom.join('|')));
        const QStringList aide =
            textes(qobject_cast<QTextBrowser*>(enfant(*c_, "WB_Aide"))->createStandardContextMenu());
        QVERIFY2(aide.contains("Tout sélectionner"), qPrintable(aide.join('|')));
    }

    void initDepuisLEtatDeConception()
    {
        QVERIFY(montrer(hote_->fenetre()));
        c_->W_Code("X-42");
        c_->Init();
        QCOMPARE(hote_->fenetre().windowTitle(), "Outil grille Aggir révision 2008");
        QCOMPARE(c_->cheminAide(), "file:" + hote_->repertoireAide + "/aide_aggir");
        for (QRadioButton* o : c_->findChildren<QRadioButton*>())
            QCOMPARE(o->isChecked(), o->objectName().endsWith("Fait"));
        for (QCheckBox* k : c_->findChildren<QCheckBox*>())
            QVERIFY(!k->isChecked() && !k->isEnabled());
        for (QLineEdit* z : c_->findChildren<QLineEdit*>())
            if (z->objectName().endsWith("Note", Qt::CaseInsensitive))
                QCOMPARE(z->text(), "A");
        QCOMPARE(texte(*c_, "Txt_Groupe") + texte(*c_, "Txt_SousGroupe") + texte(*c_, "Txt_DateEval"),
                 "6A05/12/2026");
        QCOMPARE(c_->W_Code(), "X-42");
        QVERIFY(!c_->W_Sortir());
    }

    // "Nouvelle évaluation" after an evaluation gives the state of a first
    // Init, without asking; every "Ne fait pas" with nothing ticked is GIR 1.
    void nouvelleEvaluation()
    {
        QVERIFY(montrer(hote_->fenetre()));
        c_->Init();
        const QString neuf = instantane(*c_);
        cliquerTout(toutesFaitPas(*c_));
        cliquerTout({"Cac_ToiletteHS", "Cac_CuisineH"});
        QCOMPARE(texte(*c_, "Txt_Groupe") + texte(*c_, "Txt_ToiletteHNote"), "1B");
        taper(enfant(*c_, "Txt_NomBenef"), "Jeanne Martin");
        cliquer(*c_, "Cmd_NouvelleEval");
        QCOMPARE(instantane(*c_), neuf);
    }

    // What Init does when the host's data fails it: the steps before the
    // failure took effect, those after did not.
    void initEnEchec_data()
    {
        QTest::addColumn<QString>("defaut");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("cheminAide"); // after the failure
        QTest::addColumn<QString>("nomBenef");
        QTest::newRow("sans base") << "base"
                                   << "TheDatabase"
                                   << ""
                                   << "Jeanne";
        QTest::newRow("sans section chemin") << "section"
                                             << "CHEMINFICHIER"
                                             << ""
                                             << "Jeanne";
        QTest::newRow("répertoire trop court") << "abcd"
                                               << "moins de 5 caractères"
                                               << ""
                                               << "Jeanne";
        QTest::newRow("répertoire de 5 caractères") << "data/"
                                                    << ""
                                                    << "file:aide/aide_aggir"
                                                    << "";
        QTest::newRow("sans table C") << "C"
                                      << "groupe C"
                                      << "*"
                                      << "";
    }
    void initEnEchec()
    {
        QFETCH(QString, defaut);
        QFETCH(QString, message);
        QFETCH(QString, cheminAide);
        QFETCH(QString, nomBenef);
        if (defaut == "base")
            c_->TheDatabase(nullptr);
        else if (defaut == "section")
            hote_->magasin->supprimerSection("CHEMINFICHIER");
        else if (defaut == "C")
            hote_->magasin->supprimerEntree("AGGIRPARAM", "C");
        else
            hote_->magasin->ecrireEntree("CHEMINFICHIER", "1", defaut.toStdString());
        taper(enfant(*c_, "Txt_NomBenef"), "Jeanne");
        const QString m = erreurDe([&] { c_->Init(); });
        QVERIFY2(message.isEmpty() ? m.isEmpty() : m.contains(message), qPrintable(m));
        QCOMPARE(hote_->fenetre().windowTitle(), "Outil grille Aggir révision 2008"); // step 1 ran
        QCOMPARE(c_->cheminAide(),
                 cheminAide == "*" ? "file:" + hote_->repertoireAide + "/aide_aggir" : cheminAide);
        QCOMPARE(texte(*c_, "Txt_NomBenef"), nomBenef);
    }

    // Without table "C", a click that needs group C is reported and leaves
    // the result as it was; one that stops at group A does not need it.
    void tableManquanteAuClic()
    {
        QVERIFY(montrer(hote_->fenetre()));
        hote_->magasin->supprimerEntree("AGGIRPARAM", "C");
        QVERIFY(!erreurDe([&] { c_->Init(); }).isEmpty());
        QSignalSpy erreurs(c_, &Uc_Pavonis::erreur);
        cliquerTout(toutesFaitPas(*c_));
        QCOMPARE(texte(*c_, "Txt_Groupe"), "1");
        erreurs.clear();
        // Transferts "A": A 3640, B 2860, GIR 2 without group C.
        cliquerTout({"Opt_TransfertsFait"});
        QVERIFY(erreurs.isEmpty());
        QCOMPARE(texte(*c_, "Txt_Groupe"), "2");
        // Cohérence "B", then "A": A and B fall short, group C is needed.
        cliquerTout({"Opt_CoherenceCommunicationFait", "Opt_CoherenceComportementFait"});
        QVERIFY(!erreurs.isEmpty());
        QVERIFY(erreurs.last().first().toString().contains("groupe C"));
        QCOMPARE(texte(*c_, "Txt_CoherenceNote") + texte(*c_, "Txt_Groupe"), "A2");
        // An archive must not keep that older GIR.
        QTemporaryDir d;
        QVERIFY(erreurDe([&] { c_->exporterPdf(d.filePath("e.pdf")); }).contains("ne correspond plus"));
        QVERIFY(!QFile::exists(d.filePath("e.pdf")));
    }

    // Host objects are shared by the controls of a thread; the public
    // fields, weight tables and help address are each control's own.
    void deuxControlesSurUnThread()
    {
        Uc_Pavonis* second = new Uc_Pavonis(&hote_->fenetre());
        second->Init();
        QTemporaryDir autre;
        auto magasin =
            MagasinParametres::ouvrir((autre.path() + "/p.sqlite").toStdString(), "/ailleurs/data/");
        c_->Init();
        second->TheDatabase(std::make_shared<BaseDonneesAutonome>(magasin));
        second->Init();
        QCOMPARE(second->cheminAide(), "file:/ailleurs/aide/aide_aggir");
        QCOMPARE(c_->cheminAide(), "file:" + hote_->repertoireAide + "/aide_aggir");
        c_->Init(); // now reads the database the second control set
        QCOMPARE(c_->cheminAide(), "file:/ailleurs/aide/aide_aggir");
        second->W_Sortir(true);
        QVERIFY(!c_->W_Sortir());
        std::shared_ptr<IDroits> sansCle = std::make_shared<DroitsAutonomes>(std::map<std::string, bool>{});
        QVERIFY(erreurDe([&] { c_->DroitsUtilisateur(sansCle); }).contains("DOSAIDEAGGIR"));
        QCOMPARE(sansCle.use_count(), 2); // stored all the same: the thread's state holds it
        DateDuJour::simuler(QDate(2026, 12, 4));
        c_->Init();
        QCOMPARE(texte(*c_, "Txt_DateEval"), "04/12/2026");
        DateDuJour::simuler(QDate(2026, 12, 5));
    }

    // The two layouts, chosen by the screen's height at each showing.
    void dispositions_data()
    {
        QTest::addColumn<int>("ecran");
        QTest::addColumn<int>("hauteurFixe"); // twips; 0: the window takes any height
        QTest::addColumn<QSize>("taille");    // twips, host window and control
        QTest::addColumn<int>("maximum");     // -1: bar disabled
        QTest::newRow("1080") << 1080 << 0 << QSize(14480, 11000) << -1;
        QTest::newRow("768") << 768 << 0 << QSize(14480, 11000) << -1;
        QTest::newRow("767") << 767 << 0 << QSize(14775, 7560) << 14;
        QTest::newRow("fenêtre de 9000") << 600 << 9000 << QSize(14775, 9000) << 8;
    }
    void dispositions()
    {
        QFETCH(int, ecran);
        QFETCH(int, hauteurFixe);
        QFETCH(QSize, taille);
        QFETCH(int, maximum);
        Ecran::simulerHauteurPixels(ecran);
        if (hauteurFixe)
            hote_->fenetre().setFixedHeight(Twips::versPixelsY(hauteurFixe));
        QVERIFY(montrer(hote_->fenetre()));
        QCOMPARE(hote_->fenetre().size(),
                 QSize(Twips::versPixelsX(taille.width()), Twips::versPixelsY(taille.height())));
        QCOMPARE(c_->height(), Twips::versPixelsY(hauteurFixe ? 7560 : taille.height()));
        auto* barre = qobject_cast<QScrollBar*>(enfant(*c_, "Bdv_Controles"));
        QCOMPARE(barre->isEnabled() ? barre->maximum() : -1, maximum);
        QCOMPARE(barre->value(), 0);
        c_->hide(); // and again at the next showing
        Ecran::simulerHauteurPixels(ecran >= 768 ? 700 : 1024);
        c_->show();
        QCOMPARE(barre->isEnabled(), ecran >= 768);
    }

    // The host window is the one that contains the control: here an MDI
    // sub-window, whose caption and size change; "Retour" closes it alone.
    void fenetreMdi()
    {
        QMainWindow application;
        application.setWindowTitle("Application hôte");
        auto* zone = new QMdiArea;
        application.setCentralWidget(zone);
        auto* contenu = new QWidget;
        Uc_Pavonis* c = hote_->creerControle();
        c->setParent(contenu);
        QMdiSubWindow* sous = zone->addSubWindow(contenu);
        bool luALaFermeture = false;
        connect(sous, &QObject::destroyed, [&] { luALaFermeture = true; });
        QVERIFY(montrer(application));
        sous->show();
        c->Init();
        QCOMPARE(sous->windowTitle(), "Outil grille Aggir révision 2008");
        QCOMPARE(application.windowTitle(), "Application hôte");
        QCOMPARE(contenu->height(), Twips::versPixelsY(11000));
        // The application makes room for the window the control has sized.
        sous->move(0, 0);
        application.resize(application.size() + sous->size() - zone->viewport()->size());
        QPointer<Uc_Pavonis> garde(c);
        QSignalSpy fermeture(c, &QObject::destroyed);
        cliquer(*c, "Cmd_Retour");
        QTRY_VERIFY(luALaFermeture && !garde);
        QVERIFY(application.isVisible());
    }

    // The evaluation read from the screen and restored onto it through the
    // row rule; a refused one changes nothing; every change is signalled.
    void evaluationCommeDonnees()
    {
        QVERIFY(montrer(hote_->fenetre()));
        c_->Init();
        cliquerTout({"Opt_ToiletteHFaitPas", "Cac_ToiletteHS", "Opt_HabillageBFaitPas", "Cac_HabillageBC",
                     "Cac_HabillageBH", "Opt_DeplacExterFaitPas", "Cac_DeplacExterT", "Opt_MenageFaitPas"});
        taper(enfant(*c_, "Txt_NomBenef"), "Jeanne");
        const Evaluation e = c_->evaluation();
        QCOMPARE(QString::fromStdString(e.beneficiaire + e.date), "Jeanne05/12/2026");
        QVERIFY(e.ligne("HabillageB") == (ReponseLigne{Choix::NeFaitPas, {false, false, true, true}}));
        QVERIFY(e.ligne("Cuisine").choix == Choix::Fait);
        const QString ecran = instantane(*c_);
        QCOMPARE(QString::number(c_->resultats().gir), texte(*c_, "Txt_Groupe"));

        c_->Init();
        QSignalSpy modifications(c_, &Uc_Pavonis::evaluationModifiee);
        c_->chargerEvaluation(e);
        QCOMPARE(instantane(*c_), ecran);
        QCOMPARE(modifications.count(), 24);
        taper(enfant(*c_, "Txt_NomEnqueteur"), "C");
        QCOMPARE(modifications.count(), 25);

        Evaluation impossible = e;
        impossible.ligne("Transferts").adverbes[0] = true; // ticked on a "Fait" row
        QVERIFY(erreurDe([&] { c_->chargerEvaluation(impossible); }).contains("Transferts"));
        QCOMPARE(instantane(*c_).remove("Txt_NomEnqueteur=C"), QString(ecran).remove("Txt_NomEnqueteur="));
        // A row without a choice: neither option, the boxes as given.
        Evaluation sansChoix = e;
        sansChoix.ligne("Gestion") = {Choix::Aucun, {false, true, false, false}};
        c_->chargerEvaluation(sansChoix);
        QVERIFY(!qobject_cast<QRadioButton*>(enfant(*c_, "Opt_GestionFait"))->isChecked());
        QVERIFY(!qobject_cast<QRadioButton*>(enfant(*c_, "Opt_GestionFaitPas"))->isChecked());
        QCOMPARE(texte(*c_, "Txt_GestionNote"), "B");
        QVERIFY(c_->evaluation() == sansChoix);
    }
};

QTEST_MAIN(TestControle)
#include "tst_controle.moc"
