// The GIR cascade: thresholds, lazy scores, sub-group, score arithmetic and
// failures, on the in-memory grid with weight tables made to measure.

#include "CascadeGir.h"
#include "GrilleAggir.h"
#include "GrilleMemoire.h"
#include "MoteurAggir.h"
#include "TablesEssai.h"

#include <QTest>

#include <limits>

using namespace pavonis;

namespace {

// The ten discriminant notes, by variable number.
void notes(GrilleMemoire& g, const char* lettre)
{
    for (int n : grille::kVariablesPonderees)
        g.noteVariable(n).definirTexte(lettre);
}

struct Banc {
    GrilleMemoire grille{false};
    TablesGroupes tables = essai::tablesNulles();
    std::shared_ptr<IEntreeParametre> tablePoids;
    essai::FabriqueComptee fabrique;
    MoteurAggir moteur{grille, tables, tablePoids, fabrique.fabrique()};

    // Gives group `groupe` the score `score` when Cohérence (row 1) is "B".
    void scoreSurCoherence(char groupe, double score)
    {
        essai::Poids p{};
        p[0][0] = score;
        tables[std::size_t(groupe - 'A')] = essai::table(p, groupe);
    }
};

} // namespace

class TestCascadeGir : public QObject {
    Q_OBJECT

private slots:
    void seuils_data()
    {
        QTest::addColumn<char>("groupe");
        QTest::addColumn<int>("score");
        QTest::addColumn<int>("gir");
        QTest::addColumn<int>("groupesCalcules");

        QTest::newRow("A 4380") << 'A' << 4380 << 1 << 1;
        QTest::newRow("A 4379") << 'A' << 4379 << 2 << 1;
        QTest::newRow("A 4140") << 'A' << 4140 << 2 << 1;
        QTest::newRow("A 3390") << 'A' << 3390 << 2 << 1;
        QTest::newRow("A 3389") << 'A' << 3389 << 6 << 8;
        QTest::newRow("B 2016") << 'B' << 2016 << 2 << 2;
        QTest::newRow("B 2015") << 'B' << 2015 << 6 << 8;
        QTest::newRow("C 1700") << 'C' << 1700 << 2 << 3;
        QTest::newRow("C 1432") << 'C' << 1432 << 2 << 3;
        QTest::newRow("C 1431") << 'C' << 1431 << 6 << 8;
        QTest::newRow("D 2400") << 'D' << 2400 << 2 << 4;
        QTest::newRow("E 1200") << 'E' << 1200 << 3 << 5;
        QTest::newRow("E 1199") << 'E' << 1199 << 6 << 8;
        QTest::newRow("F 800") << 'F' << 800 << 3 << 6;
        QTest::newRow("G 650") << 'G' << 650 << 4 << 7;
        QTest::newRow("G 649") << 'G' << 649 << 6 << 8;
        QTest::newRow("H 4000") << 'H' << 4000 << 4 << 8;
        QTest::newRow("H 3999") << 'H' << 3999 << 5 << 8;
        QTest::newRow("H 2000") << 'H' << 2000 << 5 << 8;
        QTest::newRow("H 1999") << 'H' << 1999 << 6 << 8;
        QTest::newRow("H negatif") << 'H' << -5000 << 6 << 8;
    }

    void seuils()
    {
        QFETCH(char, groupe);
        QFETCH(int, score);
        QFETCH(int, gir);
        QFETCH(int, groupesCalcules);
        Banc b;
        b.scoreSurCoherence(groupe, score);
        notes(b.grille, "A");
        b.grille.noteVariable(17).definirTexte("B");
        b.moteur.CalculerGir();
        QCOMPARE(b.grille.groupe(), std::to_string(gir));
        // Each group's score is computed only when the cascade reaches it.
        QCOMPARE(*b.fabrique.creations, groupesCalcules);
        QCOMPARE(b.moteur.CalculerScoreGroupe(groupe), score);
    }

    void sousGroupe_data()
    {
        QTest::addColumn<QString>("alerter");
        QTest::addColumn<QString>("deplacExter");
        QTest::addColumn<QString>("attendu");
        // Alerter down, Déplacements extérieurs across: A, B, C, empty.
        const char* table[4] = {"ABCC", "BBCB", "CCCC", "CBCC"};
        const char* lettres = "ABC-";
        for (int i = 0; i < 4; ++i)
            for (int j = 0; j < 4; ++j) {
                const auto note = [&](int k) { return lettres[k] == '-' ? QString() : QString(lettres[k]); };
                QTest::addRow("%c%c", lettres[i], lettres[j]) << note(i) << note(j) << QString(table[i][j]);
            }
    }

    void sousGroupe()
    {
        QFETCH(QString, alerter);
        QFETCH(QString, deplacExter);
        QFETCH(QString, attendu);
        Banc b;
        notes(b.grille, "A");
        b.grille.noteVariable(grille::kVariableAlerter).definirTexte(alerter.toStdString());
        b.grille.noteVariable(grille::kVariableDeplacExter).definirTexte(deplacExter.toStdString());
        for (int gir : {5, 6}) {
            b.scoreSurCoherence('H', gir == 5 ? 2000 : 0);
            b.grille.noteVariable(17).definirTexte("B");
            b.moteur.CalculerGir();
            QCOMPARE(b.grille.groupe(), std::to_string(gir));
            QCOMPARE(QString::fromStdString(b.grille.sousGroupe()), attendu);
        }
        // GIR 1 to 4 never have a sub-group.
        for (char groupe : {'A', 'E', 'G'}) {
            b.scoreSurCoherence(groupe, 5000);
            b.moteur.CalculerGir();
            QVERIFY(b.grille.groupe() != "5" && b.grille.groupe() != "6");
            QCOMPARE(b.grille.sousGroupe(), "");
        }
    }

    // Profiles scored with the published weights, worked out by hand.
    void poidsPublies_data()
    {
        QTest::addColumn<QString>("notes"); // rows 1-10: Coh Ori Toi Hab Ali Eli Tra DIn DEx Ale
        QTest::addColumn<QString>("attendu");
        QTest::newRow("tout A") << "AAAAAAAAAA" << "6A";
        QTest::newRow("tout C") << "CCCCCCCCCC" << "1";
        QTest::newRow("tout B") << "BBBBBBBBBB" << "4";
        QTest::newRow("vides") << "----------" << "6C";
        // A: 2000+1200+40+40+60+100 = 3440 >= 3390.
        QTest::newRow("psychique") << "CCCCCCAAAA" << "2";
        // A: 0; B: 0; C: 40+40+60+160 = 300; D: 2000+400 = 2400.
        QTest::newRow("D 2400") << "AACCCCAAAA" << "2";
        // A: 3200 < 3390; B: 1500+1200 = 2700 >= 2016.
        QTest::newRow("orientation et cohérence") << "CCAAAAAAAA" << "2";
        // A: 1200; B: 1200; C, D: 0; E: 400; F: 200; G: 150; H: 0.
        QTest::newRow("orientation") << "ACAAAAAAAA" << "6A";
        // H: 0 -> GIR 6; Déplacements extérieurs B -> sub-group B.
        QTest::newRow("deplacements exterieurs") << "AAAAAAAABA" << "6B";
        // H: toilette B + habillage B = 4000.
        QTest::newRow("H 4000") << "AABBAAAAAA" << "4";
        // H: toilette B = 2000; sub-group from Alerter C.
        QTest::newRow("H 2000") << "AABAAAAAAC" << "5C";
        // G: 200+200+200 = 600 < 650; H: 6000.
        QTest::newRow("G 600") << "AABBBAAAAB" << "4";
    }

    void poidsPublies()
    {
        QFETCH(QString, notes);
        QFETCH(QString, attendu);
        Banc b;
        b.tables = essai::tablesPubliees();
        for (int r = 0; r < 10; ++r)
            b.grille.noteVariable(grille::kVariablesPonderees[std::size_t(r)])
                .definirTexte(notes[r] == '-' ? "" : std::string(1, char(notes[r].unicode())));
        b.moteur.CalculerGir();
        QCOMPARE(QString::fromStdString(b.grille.groupe() + b.grille.sousGroupe()), attendu);
    }

    // A missing table fails the run that reaches it and leaves the previous
    // result on screen; a run that stops before it is unaffected.
    void tableManquante()
    {
        Banc b;
        b.tables[2].reset();
        notes(b.grille, "A");
        b.grille.zoneGroupe().definirTexte("3");
        b.grille.zoneSousGroupe().definirTexte("");
        try {
            b.moteur.CalculerGir();
            QFAIL("the run should fail on group C");
        } catch (const Erreur& e) {
            QCOMPARE(e.code(), Erreur::Code::ParametreAbsent);
            QVERIFY(std::string(e.what()).find("groupe C") != std::string::npos);
        }
        QCOMPARE(b.grille.groupe(), "3");
        QCOMPARE(b.grille.sousGroupe(), "");

        b.scoreSurCoherence('A', 4380);
        b.grille.noteVariable(17).definirTexte("B");
        b.moteur.CalculerGir();
        QCOMPARE(b.grille.groupe(), "1");
    }

    void tableDeTravailRemplacee()
    {
        Banc b;
        notes(b.grille, "A");
        b.moteur.CalculerGir();
        QCOMPARE(*b.fabrique.creations, 8);
        // The working table holds the last group read, by value.
        QVERIFY(b.tablePoids);
        QVERIFY(b.tablePoids != b.tables[7]);
        QCOMPARE(b.tablePoids.use_count(), 1);
    }

    void arrondiAuPair_data()
    {
        QTest::addColumn<int>("score");
        QTest::addColumn<double>("poids");
        QTest::addColumn<int>("attendu");
        QTest::newRow("0.5") << 0 << 0.5 << 0;
        QTest::newRow("1.5") << 0 << 1.5 << 2;
        QTest::newRow("2.5") << 0 << 2.5 << 2;
        QTest::newRow("2.51") << 0 << 2.51 << 3;
        QTest::newRow("-0.5") << 0 << -0.5 << 0;
        QTest::newRow("-1.5") << 0 << -1.5 << -2;
        QTest::newRow("-2.4") << 0 << -2.4 << -2;
        QTest::newRow("max") << 2147483646 << 1.0 << 2147483647;
        QTest::newRow("max-0.5") << 2147483646 << 1.49 << 2147483647;
        QTest::newRow("min-0.5") << -2147483647 << -1.5 << std::numeric_limits<int>::min();
    }

    void arrondiAuPair()
    {
        QFETCH(int, score);
        QFETCH(double, poids);
        QFETCH(int, attendu);
        QCOMPARE(cascade::ajouterPoids(score, poids), attendu);
    }

    void depassement()
    {
        for (auto [score, poids] : {std::pair{2147483647, 0.5}, {2147483647, 1.0}, {-2147483647, -2.0},
                                    {0, std::numeric_limits<double>::quiet_NaN()}, {0, 1e300}}) {
            QVERIFY_THROWS_EXCEPTION(Erreur, cascade::ajouterPoids(score, poids));
        }

        // Through the engine: two large weights overflow group A's score.
        Banc b;
        essai::Poids p{};
        p[0][0] = 2e9;
        p[1][0] = 2e9;
        b.tables[0] = essai::table(p, 'A');
        notes(b.grille, "A");
        b.grille.noteVariable(17).definirTexte("B");
        b.grille.noteVariable(16).definirTexte("B");
        b.grille.zoneGroupe().definirTexte("6");
        try {
            b.moteur.CalculerGir();
            QFAIL("expected an overflow");
        } catch (const Erreur& e) {
            QCOMPARE(e.code(), Erreur::Code::Depassement);
        }
        QCOMPARE(b.grille.groupe(), "6");
    }

    void groupeInconnu()
    {
        Banc b;
        QVERIFY_THROWS_EXCEPTION(Erreur, b.moteur.CalculerScoreGroupe('I'));
        QVERIFY_THROWS_EXCEPTION(Erreur, b.moteur.CalculerScoreGroupe('a'));
    }
};

QTEST_GUILESS_MAIN(TestCascadeGir)
#include "tst_cascadegir.moc"
