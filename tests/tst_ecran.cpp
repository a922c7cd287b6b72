// The screen as the user first sees it: every control, its place, caption
// and look, its initial state, and the Tab order.

#include "HoteEssai.h"
#include "Twips.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <QTextBrowser>

using namespace pavonis;
using namespace pavonis::essai;

namespace {

QList<QWidget*> controles(QWidget& c)
{
    QList<QWidget*> v;
    for (QWidget* w : c.findChildren<QWidget*>())
        if (w->property("twips").isValid())
            v << w;
    return v;
}

} // namespace

class TestEcran : public QObject {
    Q_OBJECT

    std::unique_ptr<HoteEssai> hote_;
    Uc_Pavonis* c_ = nullptr;

private slots:
    void init()
    {
        hote_ = std::make_unique<HoteEssai>();
        c_ = hote_->creerControle();
    }
    void cleanup() { hote_.reset(); }

    void inventaire()
    {
        const QList<QWidget*> tous = controles(*c_);
        QCOMPARE(tous.size(), 253);
        QMap<QString, int> genres;
        QSet<QString> noms;
        for (QWidget* w : tous) {
            noms << w->objectName();
            genres[QString::fromLatin1(w->metaObject()->className())]++;
        }
        QCOMPARE(noms.size(), 253);
        QCOMPARE(genres.value("QLabel"), 38);
        QCOMPARE(genres.value("QLineEdit"), 35);
        QCOMPARE(genres.value("QGroupBox"), 31);
        QCOMPARE(genres.value("QPushButton"), 3);
        QCOMPARE(genres.value("QCheckBox"), 96);
        QCOMPARE(genres.value("QRadioButton"), 48);
        QCOMPARE(genres.value("QScrollBar"), 1);
        QCOMPARE(genres.value("pavonis::NavigateurAide"), 1);

        // Pixels always follow from the twips, at the screen's resolution.
        for (QWidget* w : tous) {
            const QRect t = w->property("twips").toRect();
            QCOMPARE(w->geometry(), Twips::versPixels(t.x(), t.y(), t.width(), t.height()));
        }
    }

    void placesEtLegendes_data()
    {
        QTest::addColumn<QString>("nom");
        QTest::addColumn<QString>("conteneur");
        QTest::addColumn<QRect>("twips");
        QTest::addColumn<QString>("legende");
        QTest::newRow("enquêteur") << "Etq_NomEnqueteeur" << "" << QRect(240, 120, 1695, 255) << "Nom de l'enquêteur";
        QTest::newRow("barre") << "Bdv_Controles" << "" << QRect(14400, 120, 255, 6495) << "";
        QTest::newRow("habillage") << "Cdr_Habillage2008" << "" << QRect(120, 4200, 6975, 1695) << "";
        QTest::newRow("cohérence") << "Cdr_Coherence2008" << "" << QRect(120, 9240, 6975, 1215) << "";
        QTest::newRow("gestion") << "Cdr_Gestion2008" << "" << QRect(7320, 3720, 6975, 495) << "";
        QTest::newRow("nom transferts") << "Etq_Transferts2008" << "Cdr_Transferts2008" << QRect(120, 120, 1815, 255) << "Transferts";
        QTest::newRow("nom toilette") << "Etq_Toilette2008" << "Cdr_Toilette2008" << QRect(120, 240, 975, 255) << "Toilette";
        QTest::newRow("nom ménage") << "Etq_Menage2008" << "Cdr_Menage2008" << QRect(120, 120, 1455, 255) << "Ménage";
        QTest::newRow("sous-cadre") << "Cdr_HabillageBas2008" << "Cdr_Habillage2008" << QRect(1200, 1080, 5295, 495) << "";
        QTest::newRow("Label8") << "Label8" << "Cdr_CoherenceComportement2008" << QRect(120, 120, 1095, 255) << "Comportement";
        QTest::newRow("Label6") << "Label6" << "Cdr_OrientationEspace2008" << QRect(120, 120, 1215, 255) << "dans l'espace";
        QTest::newRow("se servir") << "Etq_AlimantationSeServir" << "Cdr_AlimentationSeServir2008" << QRect(120, 120, 735, 255) << "Se servir";
        QTest::newRow("fait gauche") << "Opt_AlerterFait" << "Cdr_Alerter2008" << QRect(2640, 120, 255, 255) << "";
        QTest::newRow("H gauche") << "Cac_DeplacInterH" << "Cdr_DeplacementsInterieurs2008" << QRect(5475, 120, 255, 255) << "";
        QTest::newRow("S sous-ligne") << "Cac_ToiletteHS" << "Cdr_ToiletteHaut2008" << QRect(2880, 120, 255, 255) << "";
        QTest::newRow("fait habillage haut") << "Opt_HabillageHautFait" << "Cdr_HabillageHaut2008" << QRect(1440, 120, 255, 255) << "";
        QTest::newRow("note servir") << "Txt_AlimentationServirnote" << "Cdr_AlimentationSeServir2008" << QRect(4920, 120, 255, 285) << "";
        QTest::newRow("note composée") << "Txt_HabillageNote" << "Cdr_Habillage2008" << QRect(6600, 720, 255, 285) << "";
        QTest::newRow("fait pas droite") << "Opt_CuisineFaitPas" << "Cdr_Cuisine2008" << QRect(3840, 120, 255, 255) << "";
        QTest::newRow("T droite") << "Cac_GestionT" << "Cdr_Gestion2008" << QRect(5025, 120, 255, 255) << "";
        QTest::newRow("aide") << "WB_Aide" << "" << QRect(7320, 4320, 1455, 615) << "";
        QTest::newRow("consigne") << "Etq_Aide" << "" << QRect(7320, 5040, 6015, 615)
                                  << "Cliquez sur le nom d'une variable pour afficher ou masquer l'aide au remplissage.";
        QTest::newRow("résultat") << "Cdr_GroupeIsoRessource" << "" << QRect(10320, 6600, 3735, 3015) << "Groupe iso-ressources";
        QTest::newRow("groupe") << "Txt_Groupe" << "Cdr_GroupeIsoRessource" << QRect(3120, 360, 375, 555) << "";
        QTest::newRow("sous-groupe") << "Etq_SousGroupe" << "Cdr_GroupeIsoRessource" << QRect(360, 1200, 1575, 375) << "Sous-groupe";
        QTest::newRow("date") << "Etq_ALaDateDu" << "Cdr_GroupeIsoRessource" << QRect(360, 1800, 1215, 375) << "A la date du";
        QTest::newRow("bénéficiaire") << "Etq_NomPrenom" << "Cdr_GroupeIsoRessource" << QRect(360, 2280, 2055, 255) << "Nom prénom du bénéficiaire";
        QTest::newRow("nom bénéficiaire") << "Txt_NomBenef" << "Cdr_GroupeIsoRessource" << QRect(240, 2520, 3255, 285) << "";
        QTest::newRow("nouvelle") << "Cmd_NouvelleEval" << "" << QRect(8040, 7440, 1695, 375) << "Nouvelle évaluation";
        QTest::newRow("imprimer") << "Cmd_Imprimer" << "" << QRect(8040, 8520, 1695, 375) << "Imprimer";
        QTest::newRow("retour") << "Cmd_Retour" << "" << QRect(12960, 9960, 855, 375) << "Retour";
        QTest::newRow("en-tête gauche") << "Etq_VariablesDiscriminantes2008" << "" << QRect(120, 600, 6975, 375)
            << "  Variables discriminantes                   Fait    Ne fait pas       S        T        C        H";
        QTest::newRow("en-tête droite") << "Etq_VariablesIllustratives2008" << "" << QRect(7320, 600, 6975, 375)
            << "  Variables illustratives                                  Fait    Ne fait pas       S        T        C        H";
    }

    void placesEtLegendes()
    {
        QFETCH(QString, nom);
        QFETCH(QString, conteneur);
        QFETCH(QRect, twips);
        QFETCH(QString, legende);
        QWidget* w = enfant(*c_, nom.toUtf8().constData());
        QCOMPARE(w->property("twips").toRect(), twips);
        QCOMPARE(w->parentWidget() == c_ ? QString() : w->parentWidget()->objectName(), conteneur);
        QString affiche;
        if (auto* l = qobject_cast<QLabel*>(w))
            affiche = l->text();
        else if (auto* b = qobject_cast<QPushButton*>(w))
            affiche = b->text();
        else if (auto* g = qobject_cast<QGroupBox*>(w))
            affiche = g->title();
        else if (auto* a = qobject_cast<QAbstractButton*>(w))
            affiche = a->text(); // boxes show no caption
        QCOMPARE(affiche, legende);
    }

    void legendesDesVariables()
    {
        const QStringList attendues{"Transferts", "Déplacements intérieurs", "Toilette", "Elimination", "Habillage",
                                    "Cuisine", "Alimentation", "Suivi du traitement", "Ménage", "Alerter",
                                    "Déplacements extérieurs", "Transports", "Activités temps libre", "Achats",
                                    "Gestion", "Orientation", "Cohérence"};
        QStringList orange, sousLignes;
        for (QLabel* l : c_->findChildren<QLabel*>()) {
            if (l->autoFillBackground() && l->palette().color(QPalette::Window) == QColor(255, 224, 192))
                orange << l->text();
            else if (qobject_cast<QGroupBox*>(l->parentWidget()) && l->parentWidget()->parentWidget() != c_)
                sousLignes << l->text();
        }
        QCOMPARE(QSet<QString>(orange.begin(), orange.end()), QSet<QString>(attendues.begin(), attendues.end()));
        QCOMPARE(orange.size(), 17);
        sousLignes.sort();
        QCOMPARE(sousLignes, QStringList({"Bas", "Bas", "Communication", "Comportement", "Fécale", "Haut", "Haut",
                                          "Manger", "Moyen", "Se servir", "Urinaire", "dans l'espace",
                                          "dans le temps"}));
    }

    void apparence()
    {
        for (const char* nom : {"Txt_Groupe", "Txt_SousGroupe"}) {
            const QFont f = enfant(*c_, nom)->font();
            QCOMPARE(f.pointSize(), 18);
            QVERIFY(!f.bold() && !f.italic() && !f.underline() && !f.strikeOut());
        }
        int lectureSeule = 0;
        for (QLineEdit* z : c_->findChildren<QLineEdit*>()) {
            if (z->isReadOnly()) {
                ++lectureSeule;
                QCOMPARE(z->maxLength(), 1);
            } else {
                QVERIFY(z->maxLength() > 1000);
            }
        }
        QCOMPARE(lectureSeule, 32);
        QVERIFY(!qobject_cast<QGroupBox*>(enfant(*c_, "Cdr_Transferts2008"))->title().size());
    }

    void etatInitial()
    {
        for (QLineEdit* z : c_->findChildren<QLineEdit*>())
            QVERIFY2(z->text().isEmpty(), qPrintable(z->objectName()));
        for (QRadioButton* o : c_->findChildren<QRadioButton*>())
            QVERIFY(!o->isChecked());
        for (QCheckBox* k : c_->findChildren<QCheckBox*>())
            QVERIFY(!k->isChecked() && k->isEnabled());
        QVERIFY(enfant(*c_, "WB_Aide")->isHidden());
        QVERIFY(qobject_cast<QTextBrowser*>(enfant(*c_, "WB_Aide"))->toPlainText().isEmpty());
        QVERIFY(!enfant(*c_, "Etq_Aide")->isHidden());
        auto* barre = qobject_cast<QScrollBar*>(enfant(*c_, "Bdv_Controles"));
        QCOMPARE(barre->value(), 0);
        QCOMPARE(barre->minimum(), 0);
        QCOMPARE(barre->maximum(), 32767);
        QCOMPARE(barre->singleStep(), 1);
        QCOMPARE(barre->pageStep(), 1);
    }

    // Only code writes the notes and the result: typing and pasting do nothing.
    void notesVerrouillees()
    {
        hote_->fenetre().show();
        QVERIFY(QTest::qWaitForWindowExposed(&hote_->fenetre()));
        c_->Init();
        QApplication::clipboard()->setText("C");
        for (const char* nom : {"Txt_TransfertsNote", "Txt_ToiletteNote", "Txt_Groupe", "Txt_SousGroupe"}) {
            auto* z = qobject_cast<QLineEdit*>(enfant(*c_, nom));
            const QString avant = z->text();
            z->setFocus();
            QTest::keyClicks(z, "CB");
            QTest::keySequence(z, QKeySequence::Paste);
            QTest::keyClick(z, Qt::Key_Backspace);
            QCOMPARE(z->text(), avant);
        }
        auto* nom = qobject_cast<QLineEdit*>(enfant(*c_, "Txt_NomEnqueteur"));
        nom->setFocus();
        taper(nom, "Éléonore d'Aubigné-Lefèvre, infirmière coordinatrice");
        QCOMPARE(nom->text(), "Éléonore d'Aubigné-Lefèvre, infirmière coordinatrice");
    }

    void ordreDeTabulation()
    {
        hote_->fenetre().show();
        QVERIFY(QTest::qWaitForWindowExposed(&hote_->fenetre()));
        c_->Init();
        QWidget* depart = enfant(*c_, "Txt_NomEnqueteur");
        depart->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), depart);
        // After Init the boxes of the "Fait" rows are disabled and skipped.
        const QStringList attendus{"Cmd_Retour",       "Cmd_Imprimer",       "Cmd_NouvelleEval", "Txt_DateEval",
                                   "Txt_SousGroupe",   "Txt_Groupe",         "Txt_GestionNote",  "Opt_GestionFait",
                                   "Txt_SuiviTraitementNote", "Opt_SuiviTraitementFait", "Txt_MenageNote"};
        for (const QString& nom : attendus) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget()->objectName(), nom);
        }
        // Elimination visits its bottom row first; then Habillage's top row.
        QWidget* note = enfant(*c_, "Txt_EliminationNote");
        note->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), note);
        for (const char* nom : {"Txt_EliminationUrinaireNote", "Opt_EliminationUrinaireFait",
                                "Txt_EliminationFecaleNote", "Opt_EliminationFecaleFait", "Txt_ToiletteNote",
                                "Txt_ToiletteHNote"}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget()->objectName(), QString(nom));
        }
    }
};

QTEST_MAIN(TestEcran)
#include "tst_ecran.moc"
