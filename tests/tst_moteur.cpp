// The evaluation engine on the in-memory grid: the row rule, the combining
// rules, the GIR cascade and its arithmetic, the lookup table. Expected
// values come from the published grid and the rules' own tables.

#include "OutilsEssai.h"
#include "TablesEssai.h"
#include <pavonis/engine/CascadeGir.h>
#include <pavonis/engine/Composition.h>
#include <pavonis/engine/GrilleAggir.h>
#include <pavonis/engine/GrilleMemoire.h>
#include <pavonis/engine/MoteurAggir.h>
#include <pavonis/engine/PoidsGroupes.h>
#include <pavonis/engine/TableGir.h>

#include <pavonis/hostapi/Erreur.h>

#include <QTest>

#include <random>

using namespace pavonis;

namespace {

// A grid, its engine, weight tables made to measure and a counting factory
// of working tables.
struct Banc {
    explicit Banc(bool clicsProgrammes = true) : grille(clicsProgrammes)
    {
        grille.definirGestionnaireClic([this](std::size_t l) { moteur.CalculerNote(l); });
    }
    GrilleMemoire grille;
    TablesGroupes tables = essai::tablesNulles();
    std::shared_ptr<IEntreeParametre> tablePoids;
    essai::FabriqueComptee fabrique;
    MoteurAggir moteur{grille, tables, tablePoids, fabrique.fabrique()};

    // Every weight of every group is 1000 * group + 10 * row + column, so
    // that a score names the group, the row and the column it came from.
    void poidsParLigne()
    {
        for (std::size_t g = 0; g < 8; ++g) {
            essai::Poids p{};
            for (std::size_t r = 0; r < 10; ++r)
                for (std::size_t c = 0; c < 2; ++c)
                    p[r][c] = 1000.0 * double(g) + 10.0 * double(r + 1) + double(c + 1);
            tables[g] = essai::table(p, char('A' + g));
        }
    }
    void ligne(std::size_t l, const QString& reponse) // "F", "N", "NST"...
    {
        if (reponse == "F")
            return grille.cliquerFait(l);
        grille.cliquerFaitPas(l);
        for (QChar a : reponse.mid(1))
            grille.cliquerCase(l, Adverbe(QStringLiteral("STCH").indexOf(a)));
    }
};

std::string cochees(GrilleMemoire& g, std::size_t l)
{
    std::string s;
    for (Adverbe a : {Adverbe::S, Adverbe::T, Adverbe::C, Adverbe::H})
        if (g.valeurCase(l, a) == 1)
            s += "STCH"[std::size_t(a)];
    return s;
}

} // namespace

class TestMoteur : public QObject {
    Q_OBJECT

private slots:
    // One row through the rule's outcomes; every row alike, with or without
    // the nested clicks a program's changes raise.
    void regleDeLigne_data()
    {
        QTest::addColumn<bool>("clicsProgrammes");
        QTest::newRow("clics du programme") << true;
        QTest::newRow("sans") << false;
    }
    void regleDeLigne()
    {
        QFETCH(bool, clicsProgrammes);
        for (std::size_t l = 0; l < grille::kNbLignes; ++l) {
            Banc b(clicsProgrammes);
            b.grille.selectionnerToutesFait();
            const auto etat = [&] { return b.grille.note(l) + "|" + cochees(b.grille, l); };
            QCOMPARE(etat(), "A|");
            QVERIFY(!b.grille.caseActive(l, Adverbe::S));
            b.grille.cliquerCase(l, Adverbe::S); // disabled: ignored
            QCOMPARE(etat(), "A|");
            b.grille.cliquerFaitPas(l);
            QCOMPARE(etat(), "C|");
            QVERIFY(b.grille.caseActive(l, Adverbe::H));
            b.grille.cliquerCase(l, Adverbe::S);
            QCOMPARE(etat(), "B|S");
            b.grille.cliquerCase(l, Adverbe::T);
            b.grille.cliquerCase(l, Adverbe::C);
            QCOMPARE(etat(), "B|STC");
            b.grille.cliquerCase(l, Adverbe::H); // the fourth tick clears the row
            QCOMPARE(etat(), "C|");
            b.grille.cliquerCase(l, Adverbe::T);
            b.grille.cliquerCase(l, Adverbe::T); // unticking the only tick
            QCOMPARE(etat(), "C|");
            b.grille.cliquerCase(l, Adverbe::H);
            b.grille.cliquerFait(l);
            QCOMPARE(etat(), "A|");
            QVERIFY(!b.grille.caseActive(l, Adverbe::C));
        }
    }

    // Before the first reset no option is selected: a tick already counts.
    void avantLaRemiseAZero()
    {
        Banc b;
        b.grille.cliquerCase(3, Adverbe::T);
        QCOMPARE(b.grille.note(3), "B");
        b.grille.cliquerCase(3, Adverbe::T);
        QCOMPARE(b.grille.note(3), "C");
    }

    // The reset brings any grid to the same state.
    void remiseAZero()
    {
        Banc b;
        b.tables = essai::tablesPubliees();
        b.grille.selectionnerToutesFait();
        // Every row "Ne fait pas", with ticks on the illustrative ones: GIR 1.
        for (std::size_t l = 0; l < grille::kNbLignes; ++l)
            b.ligne(l, QList<std::size_t>{9, 12, 13, 16, 17, 18, 19}.contains(l) ? "NSC" : "N");
        QCOMPARE(b.grille.groupe(), "1");
        b.grille.selectionnerToutesFait();
        for (std::size_t l = 0; l < grille::kNbLignes; ++l) {
            QVERIFY(b.grille.fait(l) && !b.grille.faitPas(l));
            QCOMPARE(b.grille.note(l) + cochees(b.grille, l), "A");
        }
        for (int v : grille::kVariablesComposees)
            QCOMPARE(b.grille.noteDe(v), "A");
        QCOMPARE(b.grille.groupe() + b.grille.sousGroupe(), "6A");
    }

    // The combining rules, for every pair of letters and the empty note.
    void composition_data()
    {
        QTest::addColumn<int>("regle");
        QTest::addColumn<QString>("premiere");
        QTest::addColumn<QString>("seconde");
        QTest::addColumn<QString>("attendue");
        const QStringList lettres{"A", "B", "C", ""};
        // Rows: first note A, B, C, empty; columns: second note.
        const std::pair<RegleComposee, const char*> tables[] = {
            {RegleComposee::Toilette, "ABBB"
                                      "BBBB"
                                      "BBCB"
                                      "BBBB"},
            {RegleComposee::Elimination, "ABCB"
                                         "BBCB"
                                         "CCCC"
                                         "BBCB"},
            {RegleComposee::Orientation, "ABCB"
                                         "BBCB"
                                         "CCCC"
                                         "BBCB"},
            {RegleComposee::Coherence, "ABCB"
                                       "BBCB"
                                       "CCCC"
                                       "BBCB"},
            {RegleComposee::Alimentation, "ABBB"
                                          "BBCC"
                                          "BCCC"
                                          "BCCC"},
        };
        for (const auto& [regle, resultats] : tables)
            for (int i = 0; i < 4; ++i)
                for (int j = 0; j < 4; ++j)
                    QTest::addRow("%d %s+%s", int(regle), qPrintable(lettres[i]), qPrintable(lettres[j]))
                        << int(regle) << lettres[i] << lettres[j] << QString(resultats[4 * i + j]);
        for (const char* trio : {"AAA", "CCC", "AAC", "CCB", "ABC", "BBB"})
            QTest::addRow("habillage %s", trio) << int(RegleComposee::Habillage) << QString(trio) << QString()
                                                << QString(QByteArray(trio) == "AAA"   ? "A"
                                                           : QByteArray(trio) == "CCC" ? "C"
                                                                                       : "B");
        QTest::newRow("habillage vide")
            << int(RegleComposee::Habillage) << QString("   ") << QString() << "B";
    }
    void composition()
    {
        QFETCH(int, regle);
        QFETCH(QString, premiere);
        QFETCH(QString, seconde);
        QFETCH(QString, attendue);
        std::vector<std::string> notes;
        if (RegleComposee(regle) == RegleComposee::Habillage)
            for (QChar c : premiere)
                notes.push_back(c == u' ' ? "" : std::string(1, char(c.unicode())));
        else
            notes = {premiere.toStdString(), seconde.toStdString()};
        const std::vector<std::string_view> vues(notes.begin(), notes.end());
        QCOMPARE(QString::fromStdString(std::string(combinerNotes(RegleComposee(regle), vues))), attendue);
    }

    // Each composite reads its own rows by its rule: first row C, the others A
    // then B give B,B (all C), C,C (one C) and B,C (Alimentation).
    void notesComposeesSurLaGrille()
    {
        Banc b;
        b.grille.selectionnerToutesFait();
        const auto notes = [&b] {
            return QString::fromStdString(b.grille.noteDe(3) + b.grille.noteDe(4) + b.grille.noteDe(5) +
                                          b.grille.noteDe(7) + b.grille.noteDe(16) + b.grille.noteDe(17));
        };
        for (std::size_t l : {2, 4, 6, 10, 20, 22})
            b.ligne(l, "N");
        QCOMPARE(notes(), "BCBBCC");
        for (std::size_t l : {3, 5, 7, 8, 11, 21, 23})
            b.ligne(l, "NS");
        QCOMPARE(notes(), "BCBCCC");
    }

    // Each discriminant variable weighs on its own row of the tables, each
    // group reads its own table: the score names both.
    void lignesDePoids()
    {
        // Rows 1 to 10 of the weight tables: the evaluation rows of their variable.
        const std::vector<std::vector<std::size_t>> lignes{{22, 23}, {20, 21}, {2, 3}, {6, 7, 8}, {10, 11},
                                                           {4, 5},   {0},      {1},    {15},      {14}};
        for (int r = 0; r < 10; ++r) {
            Banc b;
            b.poidsParLigne();
            b.grille.selectionnerToutesFait();
            b.ligne(lignes[r][0], "NS"); // one row "B": the variable is "B"
            for (char g = 'A'; g <= 'H'; ++g)
                QCOMPARE(b.moteur.CalculerScoreGroupe(g), 1000 * (g - 'A') + 10 * (r + 1) + 1);
            b.grille.cliquerCase(lignes[r][0], Adverbe::S);
            for (std::size_t l : lignes[r]) // every row "C": the variable is "C"
                b.ligne(l, "N");
            QCOMPARE(b.moteur.CalculerScoreGroupe('C'), 2000 + 10 * (r + 1) + 2);
        }
    }

    // Every step of the cascade, at its threshold and just below; a group
    // is scored only when the cascade reaches it.
    void seuils_data()
    {
        QTest::addColumn<char>("groupe");
        QTest::addColumn<int>("score");
        QTest::addColumn<int>("gir");
        QTest::addColumn<int>("groupesCalcules");
        const struct {
            char groupe;
            int seuil, gir, rang, girEnDessous;
        } etapes[] = {{'A', 4380, 1, 1, 2}, {'A', 4140, 2, 1, 2}, {'A', 3390, 2, 1, 6}, {'B', 2016, 2, 2, 6},
                      {'C', 1700, 2, 3, 2}, {'C', 1432, 2, 3, 6}, {'D', 2400, 2, 4, 6}, {'E', 1200, 3, 5, 6},
                      {'F', 800, 3, 6, 6},  {'G', 650, 4, 7, 6},  {'H', 4000, 4, 8, 5}, {'H', 2000, 5, 8, 6}};
        for (const auto& e : etapes) {
            QTest::addRow("%c %d", e.groupe, e.seuil) << e.groupe << e.seuil << e.gir << e.rang;
            QTest::addRow("%c %d", e.groupe, e.seuil - 1)
                << e.groupe << e.seuil - 1 << e.girEnDessous
                << (e.girEnDessous == 6 || e.girEnDessous == 5 ? 8 : e.rang);
        }
    }
    void seuils()
    {
        QFETCH(char, groupe);
        QFETCH(int, score);
        QFETCH(int, gir);
        QFETCH(int, groupesCalcules);
        Banc b;
        essai::Poids p{};
        p[0][0] = score; // Cohérence "B" (its communication row)
        b.tables[std::size_t(groupe - 'A')] = essai::table(p, groupe);
        b.grille.selectionnerToutesFait();
        b.ligne(22, "NS");
        *b.fabrique.creations = 0;
        b.moteur.CalculerGir();
        QCOMPARE(b.grille.groupe(), std::to_string(gir));
        QCOMPARE(*b.fabrique.creations, groupesCalcules);
    }

    // The sub-group from Alerter (rows) and Déplacements extérieurs
    // (columns), empty for GIR 1 to 4.
    void sousGroupe_data()
    {
        QTest::addColumn<QString>("alerter");
        QTest::addColumn<QString>("deplacements");
        QTest::addColumn<QString>("attendu");
        const QStringList v{"A", "B", "C", ""};
        const char* table = "ABCC"
                            "BBCB"
                            "CCCC"
                            "CBCC";
        for (int i = 0; i < 4; ++i)
            for (int j = 0; j < 4; ++j)
                QTest::addRow("%s/%s", qPrintable(v[i]), qPrintable(v[j]))
                    << v[i] << v[j] << QString(table[4 * i + j]);
    }
    void sousGroupe()
    {
        QFETCH(QString, alerter);
        QFETCH(QString, deplacements);
        QFETCH(QString, attendu);
        QCOMPARE(QString(cascade::sousGroupe(alerter.toStdString(), deplacements.toStdString())), attendu);
        Banc b;
        b.grille.noteVariable(10).definirTexte(alerter.toStdString());
        b.grille.noteVariable(11).definirTexte(deplacements.toStdString());
        b.moteur.CalculerGir(); // every score 0: GIR 6
        QCOMPARE(QString::fromStdString(b.grille.groupe() + b.grille.sousGroupe()), "6" + attendu);
        essai::Poids p{};
        p[9][1] = 4000; // Alerter "C" weighs 4000 in group H: GIR 4
        b.tables[7] = essai::table(p, 'H');
        b.grille.noteVariable(10).definirTexte("C");
        b.moteur.CalculerGir();
        QCOMPARE(QString::fromStdString(b.grille.groupe() + b.grille.sousGroupe()), "4");
    }

    // Each addition rounds to the nearest 32-bit integer, ties to even; a
    // total out of range is an overflow.
    void arithmetique_data()
    {
        QTest::addColumn<int>("score");
        QTest::addColumn<double>("poids");
        QTest::addColumn<qint64>("attendu"); // 1 << 40 for an overflow
        const qint64 depassement = qint64(1) << 40;
        QTest::newRow("0,5") << 0 << 0.5 << qint64(0);
        QTest::newRow("1,5") << 0 << 1.5 << qint64(2);
        QTest::newRow("2,5") << 0 << 2.5 << qint64(2);
        QTest::newRow("-0,5") << 0 << -0.5 << qint64(0);
        QTest::newRow("-1,5") << 0 << -1.5 << qint64(-2);
        QTest::newRow("2,6") << 0 << 2.6 << qint64(3);
        QTest::newRow("max") << 2147483640 << 7.0 << qint64(2147483647);
        QTest::newRow("max + 1") << 2147483647 << 1.0 << depassement;
        QTest::newRow("max + 0,5") << 2147483647 << 0.5 << depassement;
        QTest::newRow("min - 0,5") << -2147483647 - 1 << -0.5 << qint64(-2147483647 - 1);
        QTest::newRow("min - 1") << -2147483647 - 1 << -1.0 << depassement;
    }
    void arithmetique()
    {
        QFETCH(int, score);
        QFETCH(double, poids);
        QFETCH(qint64, attendu);
        if (attendu == (qint64(1) << 40))
            QVERIFY(essai::erreurDe([&] {
                        cascade::ajouterPoids(score, poids);
                    }).startsWith("Dépassement de capacité"));
        else
            QCOMPARE(qint64(cascade::ajouterPoids(score, poids)), attendu);
    }

    // A failing computation leaves the result boxes as they were.
    void tableManquanteOuDepassement()
    {
        Banc b;
        b.grille.selectionnerToutesFait();
        b.tables[2].reset();                               // no table C
        QVERIFY_THROWS_EXCEPTION(Erreur, b.ligne(0, "N")); // the cascade reaches group C
        QCOMPARE(b.grille.groupe() + b.grille.sousGroupe(), "6A");
        essai::Poids p{};
        p[0][0] = 2147483647.0;
        p[1][0] = 1.0;
        b.tables[2] = b.tables[0] = essai::table(p, 'A');
        b.grille.noteVariable(17).definirTexte("B");
        b.grille.noteVariable(16).definirTexte("B");
        QVERIFY_THROWS_EXCEPTION(Erreur, b.moteur.CalculerGir());
        QCOMPARE(b.grille.groupe() + b.grille.sousGroupe(), "6A");
    }

    // The working table is a fresh entry given the group's table by value:
    // assigning its source again later does not reach it.
    void tableDeTravailParValeur()
    {
        Banc b;
        b.poidsParLigne();
        b.grille.selectionnerToutesFait();
        b.moteur.CalculerScoreGroupe('C');
        QCOMPARE(b.tablePoids->Valeur(1, 1), 2011.0);
        b.tables[2]->DefinirValeur(b.tables[0]);
        QCOMPARE(b.tablePoids->Valeur(1, 1), 2011.0);
        QCOMPARE(b.tables[2]->Valeur(1, 1), 11.0);
    }

    // The lookup table gives the cascade's result for all 3^10 combinations.
    void tableDeConsultation_data()
    {
        QTest::addColumn<int>("graine"); // 0: the published weights
        QTest::newRow("publiés") << 0;
        QTest::newRow("aléatoires") << 7;
    }
    void tableDeConsultation()
    {
        QFETCH(int, graine);
        TablesGroupes tables = essai::tablesPubliees();
        if (graine) {
            std::mt19937 alea{unsigned(graine)};
            std::uniform_int_distribution<int> poids(-500, 3000);
            for (std::size_t g = 0; g < 8; ++g) {
                essai::Poids p{};
                for (auto& l : p)
                    for (double& c : l)
                        c = poids(alea) / 2.0;
                tables[g] = essai::table(p, char('A' + g));
            }
        }
        const PoidsGroupes poids = PoidsGroupes::lire(tables);
        const TableGir table(poids);
        CodesModalites codes{};
        for (std::uint32_t i = 0; i < TableGir::kTaille; ++i) {
            std::uint32_t r = i;
            for (auto& c : codes) {
                c = std::uint8_t(r % 3);
                r /= 3;
            }
            QCOMPARE(TableGir::index(codes), i);
            const auto attendu = poids.evaluer(codes);
            QVERIFY(table.resultat(i) == attendu);
        }
    }
};

QTEST_APPLESS_MAIN(TestMoteur)
#include "tst_moteur.moc"
