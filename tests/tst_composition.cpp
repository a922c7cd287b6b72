// How sub-variable notes combine into a variable's note, empty notes included.

#include "Composition.h"
#include "GrilleAggir.h"
#include "GrilleMemoire.h"
#include "MoteurAggir.h"
#include "TablesEssai.h"

#include <QTest>

using namespace pavonis;

Q_DECLARE_METATYPE(pavonis::RegleComposee)

class TestComposition : public QObject {
    Q_OBJECT

private slots:
    void deuxParties_data()
    {
        QTest::addColumn<RegleComposee>("regle");
        QTest::addColumn<QString>("premiere");
        QTest::addColumn<QString>("seconde");
        QTest::addColumn<QString>("attendue");

        // Expected results for every pair, as the grid's rules state them
        // ("-" is an empty note).
        const char* lettres = "ABC-";
        const struct {
            RegleComposee regle;
            const char* nom;
            const char* tableau; // row = first note, column = second, over A B C -
        } tableaux[] = {
            {RegleComposee::Toilette, "toilette", "ABBB" "BBBB" "BBCB" "BBBB"},
            {RegleComposee::Elimination, "elimination", "ABCB" "BBCB" "CCCC" "BBCB"},
            {RegleComposee::Orientation, "orientation", "ABCB" "BBCB" "CCCC" "BBCB"},
            {RegleComposee::Coherence, "coherence", "ABCB" "BBCB" "CCCC" "BBCB"},
            {RegleComposee::Alimentation, "alimentation", "ABBB" "BBCC" "BCCC" "BCCC"},
        };
        for (const auto& t : tableaux)
            for (int i = 0; i < 4; ++i)
                for (int j = 0; j < 4; ++j) {
                    const auto note = [&](int k) {
                        return lettres[k] == '-' ? QString() : QString(QChar(lettres[k]));
                    };
                    QTest::addRow("%s %c%c", t.nom, lettres[i], lettres[j])
                        << t.regle << note(i) << note(j) << QString(QChar(t.tableau[i * 4 + j]));
                }
    }

    void deuxParties()
    {
        QFETCH(RegleComposee, regle);
        QFETCH(QString, premiere);
        QFETCH(QString, seconde);
        QFETCH(QString, attendue);
        const std::string a = premiere.toStdString(), b = seconde.toStdString();
        const std::string_view notes[] = {a, b};
        QCOMPARE(QString::fromUtf8(combinerNotes(regle, notes)), attendue);
    }

    void habillage_data()
    {
        QTest::addColumn<QString>("notes");
        QTest::addColumn<QString>("attendue");
        QTest::newRow("AAA") << "AAA" << "A";
        QTest::newRow("CCC") << "CCC" << "C";
        QTest::newRow("AAC") << "AAC" << "B";
        QTest::newRow("CCB") << "CCB" << "B";
        QTest::newRow("CCA") << "CCA" << "B";
        QTest::newRow("BBB") << "BBB" << "B";
        QTest::newRow("vides") << "---" << "B";
        QTest::newRow("AA-") << "AA-" << "B";
        QTest::newRow("CC-") << "CC-" << "B";
        QTest::newRow("minuscules") << "aaa" << "B";
    }

    void habillage()
    {
        QFETCH(QString, notes);
        QFETCH(QString, attendue);
        std::string textes[3];
        std::string_view vues[3];
        for (int i = 0; i < 3; ++i) {
            textes[i] = notes[i] == '-' ? std::string() : std::string(1, char(notes[i].unicode()));
            vues[i] = textes[i];
        }
        QCOMPARE(QString::fromUtf8(combinerNotes(RegleComposee::Habillage, vues)), attendue);
    }

    // The engine writes each composite note from the rows it belongs to.
    void notesComposeesSurLaGrille()
    {
        GrilleMemoire g(false);
        TablesGroupes tables = essai::tablesNulles();
        std::shared_ptr<IEntreeParametre> tp;
        essai::FabriqueComptee f;
        MoteurAggir m(g, tables, tp, f.fabrique());

        // Before any reset every row note is empty.
        m.CalculerNotesComposees();
        QCOMPARE(g.noteDe(3), "B");  // toilette
        QCOMPARE(g.noteDe(4), "B");  // elimination
        QCOMPARE(g.noteDe(5), "B");  // habillage
        QCOMPARE(g.noteDe(7), "C");  // alimentation
        QCOMPARE(g.noteDe(16), "B"); // orientation
        QCOMPARE(g.noteDe(17), "B"); // coherence

        const auto ecrire = [&](std::string_view cle, const char* note) {
            g.controlesLigne(*grille::indexLigne(cle)).note.definirTexte(note);
        };
        ecrire("ToiletteH", "A");
        ecrire("ToiletteB", "C");
        ecrire("EliminationFecale", "A");
        ecrire("EliminationUrinaire", "C");
        ecrire("HabillageH", "C");
        ecrire("HabillageM", "C");
        ecrire("HabillageB", "C");
        ecrire("AlimentationServir", "A");
        ecrire("AlimentationManger", "C");
        ecrire("OrientationTemps", "B");
        ecrire("OrientationEspace", "B");
        ecrire("CoherenceCommunication", "B");
        ecrire("CoherenceComportement", "C");
        m.CalculerNotesComposees();
        QCOMPARE(g.noteDe(3), "B");
        QCOMPARE(g.noteDe(4), "C");
        QCOMPARE(g.noteDe(5), "C");
        QCOMPARE(g.noteDe(7), "B");
        QCOMPARE(g.noteDe(16), "B");
        QCOMPARE(g.noteDe(17), "C");
        QCOMPARE(*f.creations, 0); // composite notes alone compute no score
    }
};

QTEST_GUILESS_MAIN(TestComposition)
#include "tst_composition.moc"
