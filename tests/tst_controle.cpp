// The control's life cycle through its real widgets: Init and its failures,
// the grid reset, evaluations reaching every GIR, and what two controls on
// one thread share.

#include "BaseDonneesAutonome.h"
#include "DateDuJour.h"
#include "DroitsAutonomes.h"
#include "EntreeParametre.h"
#include "EtatModule.h"
#include "HoteEssai.h"
#include "MagasinParametres.h"

#include <pavonis/Erreur.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

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

void attendreErreur(const std::function<void()>& f, const char* partie)
{
    try {
        f();
    } catch (const Erreur& e) {
        QVERIFY2(QString::fromUtf8(e.what()).contains(QString::fromUtf8(partie)), e.what());
        return;
    }
    QFAIL("no error raised");
}

} // namespace

class TestControle : public QObject {
    Q_OBJECT

    std::unique_ptr<HoteEssai> hote_;
    Uc_Pavonis* c_ = nullptr;

    void montrer()
    {
        hote_->fenetre().show();
        QVERIFY(QTest::qWaitForWindowExposed(&hote_->fenetre()));
    }

private slots:
    void init()
    {
        hote_ = std::make_unique<HoteEssai>();
        c_ = hote_->creerControle();
    }
    void cleanup() { hote_.reset(); }

    void initDepuisLEtatDeConception()
    {
        montrer();
        c_->W_Code("X-42");
        c_->Init();
        QCOMPARE(hote_->fenetre().windowTitle(), "Outil grille Aggir révision 2008");
        QCOMPARE(c_->cheminAide(), "file:" + hote_->repertoireAide + "/aide_aggir");
        for (QRadioButton* o : c_->findChildren<QRadioButton*>())
            QCOMPARE(o->isChecked(), o->objectName().endsWith("Fait"));
        for (QCheckBox* k : c_->findChildren<QCheckBox*>())
            QVERIFY(!k->isChecked() && !k->isEnabled());
        for (QLineEdit* z : c_->findChildren<QLineEdit*>())
            if (z->objectName().endsWith("Note") || z->objectName().endsWith("note"))
                QCOMPARE(z->text(), "A");
        QCOMPARE(texte(*c_, "Txt_Groupe"), "6");
        QCOMPARE(texte(*c_, "Txt_SousGroupe"), "A");
        QCOMPARE(texte(*c_, "Txt_DateEval"), "05/12/2026");
        QCOMPARE(c_->W_Code(), "X-42"); // Init leaves the public fields alone
        QVERIFY(!c_->W_Sortir());
    }

    // "Nouvelle évaluation" after an evaluation gives the state of a first Init.
    void nouvelleEvaluation()
    {
        montrer();
        c_->Init();
        const QString neuf = instantane(*c_);
        for (const char* nom : {"Opt_ToiletteHFaitPas", "Cac_ToiletteHS", "Cac_ToiletteHT", "Opt_AlerterFaitPas",
                                "Opt_CuisineFaitPas", "Cac_CuisineH", "Opt_CoherenceComportementFaitPas"})
            cliquer(*c_, nom);
        taper(enfant(*c_, "Txt_NomBenef"), "Jeanne Martin");
        QCOMPARE(texte(*c_, "Txt_ToiletteHNote"), "B");
        QVERIFY(instantane(*c_) != neuf);
        cliquer(*c_, "Cmd_NouvelleEval");
        QCOMPARE(instantane(*c_), neuf);
        c_->Init();
        QCOMPARE(instantane(*c_), neuf);
    }

    void chaqueGir_data()
    {
        QTest::addColumn<QStringList>("clics");
        QTest::addColumn<QString>("gir");
        QTest::addColumn<QString>("sousGroupe");
        QTest::newRow("6 A") << QStringList{"Opt_CuisineFaitPas", "Opt_MenageFaitPas"} << "6" << "A";
        QTest::newRow("6 B") << QStringList{"Opt_DeplacExterFaitPas", "Cac_DeplacExterS"} << "6" << "B";
        QTest::newRow("5 C") << QStringList{"Opt_ToiletteHFaitPas", "Cac_ToiletteHS", "Opt_AlerterFaitPas"} << "5" << "C";
        QTest::newRow("4") << QStringList{"Opt_ToiletteHFaitPas", "Cac_ToiletteHS", "Opt_HabillageHFaitPas",
                                          "Cac_HabillageHT"} << "4" << "";
        QTest::newRow("3") << QStringList{"Opt_ToiletteHFaitPas", "Opt_ToiletteBFaitPas", "Opt_HabillageHFaitPas",
                                          "Opt_HabillageMoyenFaitPas", "Opt_HabillageBFaitPas",
                                          "Opt_AlimentationServirFaitPas", "Opt_AlimentationMangerFaitPas"}
                           << "3" << "";
        QStringList deux;
        for (const char* l : {"CoherenceCommunication", "CoherenceComportement", "OrientationTemps",
                              "OrientationEspace", "ToiletteH", "ToiletteB", "HabillageB", "EliminationFecale"})
            deux << QString("Opt_%1FaitPas").arg(l);
        deux << "Opt_HabillageHFaitPas" << "Opt_HabillageMoyenFaitPas" << "Opt_AlimentationServirFaitPas"
             << "Opt_AlimentationMangerFaitPas";
        QTest::newRow("2") << deux << "2" << "";
        QStringList un = deux;
        un << "Opt_TransfertsFaitPas" << "Opt_DeplacInterFaitPas" << "Opt_EliminationUrinaireFaitPas";
        QTest::newRow("1") << un << "1" << "";
    }

    void chaqueGir()
    {
        QFETCH(QStringList, clics);
        QFETCH(QString, gir);
        QFETCH(QString, sousGroupe);
        montrer();
        c_->Init();
        for (const QString& nom : clics)
            cliquer(*c_, nom.toUtf8().constData());
        QCOMPARE(texte(*c_, "Txt_Groupe"), gir);
        QCOMPARE(texte(*c_, "Txt_SousGroupe"), sousGroupe);
    }

    void initSansBaseDeDonnees()
    {
        EtatModule::duThread().baseDonnees.reset();
        const QString avant = instantane(*c_);
        attendreErreur([&] { c_->Init(); }, "TheDatabase");
        QCOMPARE(hote_->fenetre().windowTitle(), "Outil grille Aggir révision 2008");
        QCOMPARE(c_->cheminAide(), QString());
        QCOMPARE(instantane(*c_), avant);
    }

    void initSansSectionChemin()
    {
        hote_->magasin->supprimerSection("CHEMINFICHIER");
        attendreErreur([&] { c_->Init(); }, "CHEMINFICHIER");
        QCOMPARE(c_->cheminAide(), QString());
        QCOMPARE(texte(*c_, "Txt_Groupe"), QString());
    }

    void repertoireTropCourt()
    {
        hote_->magasin->ecrireEntree("CHEMINFICHIER", "1", "data/");
        c_->Init();
        QCOMPARE(c_->cheminAide(), "file:aide/aide_aggir");

        hote_->magasin->ecrireEntree("CHEMINFICHIER", "1", "abcd");
        taper(enfant(*c_, "Txt_NomBenef"), "Jeanne");
        attendreErreur([&] { c_->Init(); }, "moins de 5 caractères");
        // Steps after the directory did not run.
        QCOMPARE(c_->cheminAide(), "file:aide/aide_aggir");
        QCOMPARE(texte(*c_, "Txt_NomBenef"), "Jeanne");
    }

    // Without table "C", Init loads the other seven, then fails in the grid
    // reset, where ten "A" notes carry the cascade to group C; later clicks
    // report the same failure and leave the result as it was.
    void tableDePoidsManquante()
    {
        montrer();
        hote_->magasin->supprimerEntree("AGGIRPARAM", "C");
        taper(enfant(*c_, "Txt_NomBenef"), "Jeanne");
        attendreErreur([&] { c_->Init(); }, "groupe C");
        QCOMPARE(texte(*c_, "Txt_NomBenef"), QString()); // steps 5 and 6 done
        QCOMPARE(texte(*c_, "Txt_DateEval"), "05/12/2026");
        QCOMPARE(texte(*c_, "Txt_Groupe"), QString());

        QSignalSpy erreurs(c_, &Uc_Pavonis::erreur);
        // A row whose A score decides alone (all C) does not need group C.
        for (QRadioButton* o : c_->findChildren<QRadioButton*>())
            if (o->objectName().endsWith("FaitPas"))
                cliquer(*c_, o->objectName().toUtf8().constData());
        QCOMPARE(texte(*c_, "Txt_Groupe"), "1");
        const int avant = erreurs.count();
        cliquer(*c_, "Opt_TransfertsFait");
        cliquer(*c_, "Opt_CoherenceCommunicationFait");
        cliquer(*c_, "Opt_CoherenceComportementFait");
        QVERIFY(erreurs.count() > avant);
        QVERIFY(erreurs.last().first().toString().contains("groupe C"));
        QCOMPARE(texte(*c_, "Txt_TransfertsNote"), "A"); // the row itself is done
        QVERIFY(!texte(*c_, "Txt_Groupe").isEmpty());
    }

    void initDeuxFois()
    {
        c_->Init();
        const QString premier = instantane(*c_);
        DateDuJour::simuler(QDate(2026, 12, 4));
        c_->Init();
        QCOMPARE(texte(*c_, "Txt_DateEval"), "04/12/2026");
        DateDuJour::simuler(QDate(2026, 12, 5));
        c_->Init();
        QCOMPARE(instantane(*c_), premier);
    }

    // Host objects are shared by the controls of a thread; the public
    // fields, weight tables and help address are each control's own.
    void deuxControlesSurUnThread()
    {
        Uc_Pavonis* second = new Uc_Pavonis(&hote_->fenetre());
        second->Init(); // uses the database the first control was given
        QCOMPARE(texte(*second, "Txt_Groupe"), "6");

        QTemporaryDir autre;
        auto magasin = MagasinParametres::ouvrir((autre.path() + "/p.sqlite").toStdString(), "/ailleurs/data/");
        c_->Init();
        second->TheDatabase(std::make_shared<BaseDonneesAutonome>(magasin));
        second->Init();
        QCOMPARE(second->cheminAide(), "file:/ailleurs/aide/aide_aggir");
        QCOMPARE(c_->cheminAide(), "file:" + hote_->repertoireAide + "/aide_aggir");
        c_->Init(); // now reads the database the second control set
        QCOMPARE(c_->cheminAide(), "file:/ailleurs/aide/aide_aggir");

        second->W_Sortir(true);
        second->W_NomPrenom("Jeanne Martin");
        QVERIFY(!c_->W_Sortir());
        QCOMPARE(c_->W_NomPrenom(), QString());
    }

    void droitsUtilisateur()
    {
        std::shared_ptr<IDroits> sansCle = std::make_shared<DroitsAutonomes>(std::map<std::string, bool>{});
        attendreErreur([&] { c_->DroitsUtilisateur(sansCle); }, "DOSAIDEAGGIR");
        std::shared_ptr<IDroits> aucun;
        attendreErreur([&] { c_->DroitsUtilisateur(aucun); }, "droits");
        std::shared_ptr<IDroits> droits = std::make_shared<DroitsAutonomes>();
        c_->DroitsUtilisateur(droits);
        QCOMPARE(droits.use_count(), 2); // stored once, for the thread
    }

    // "Retour" tells the host, which reads W_Sortir while its window closes.
    void retour()
    {
        montrer();
        c_->Init();
        bool luALaFermeture = false;
        struct Fenetre : QWidget {
            std::function<void()> aLaFermeture;
            void closeEvent(QCloseEvent* e) override
            {
                aLaFermeture();
                QWidget::closeEvent(e);
            }
        } fenetre;
        Uc_Pavonis* c = hote_->creerControle();
        c->setParent(&fenetre);
        fenetre.aLaFermeture = [&] { luALaFermeture = c->W_Sortir(); };
        fenetre.show();
        QVERIFY(QTest::qWaitForWindowExposed(&fenetre));
        cliquer(*c, "Cmd_Retour");
        QVERIFY(luALaFermeture);
        QVERIFY(!fenetre.isVisible());
        QVERIFY(!c_->W_Sortir());
    }

};

QTEST_MAIN(TestControle)
#include "tst_controle.moc"
