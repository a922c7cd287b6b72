// The evaluation engine on the in-memory grid. Expected values come from the decree and the grid's rules.

#include "OutilsEssai.h"
#include "TablesEssai.h"
#include <pavonis/engine/CascadeGir.h>
#include <pavonis/engine/Composition.h>
#include <pavonis/engine/GrilleAggir.h>
#include <pavonis/engine/GrilleMemoire.h>
#include <pavonis/engine/MoteurAggir.h>
#include <pavonis/engine/PoidsGroupes.h>
#include <pavonis/engine/TableGir.h>
#include <pavonis/host/BaseDonneesAutonome.h>
#include <pavonis/host/MagasinParametres.h>

#include <pavonis/hostapi/Erreur.h>

#include <QTemporaryDir>
#include <QTest>

using namespace pavonis;

namespace {

// A grid, its engine, weight tables made to measure, a counting factory.
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

    // Every weight of every group is 1000 * group + 10 * row + column, so that a score names the group, the
    // row and the column it came from.
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

// A row's note, its ticks and whether its boxes are enabled: "B|ST+".
std::string etat(GrilleMemoire& g, std::size_t l)
{
    std::string s = g.note(l) + '|';
    int actives = 0;
    for (Adverbe a : {Adverbe::S, Adverbe::T, Adverbe::C, Adverbe::H}) {
        actives += g.caseActive(l, a);
        if (g.valeurCase(l, a) == 1)
            s += "STCH"[std::size_t(a)];
    }
    return s + (actives == 4 ? '+' : actives ? '?' : '-');
}

} // namespace

class TestMoteur : public QObject {
    Q_OBJECT

private slots:
    // One row through the rule's outcomes; every row alike, with or without the nested clicks a program's
    // changes raise.
    void regleDeLigne_data()
    {
        QTest::addColumn<bool>("clicsProgrammes");
        QTest::newRow("clics du programme") << true;
        QTest::newRow("sans") << false;
    }
    void regleDeLigne()
    {
        QFETCH(bool, clicsProgrammes);
        // Clicks (F, N: the options; S, T, C, H: the boxes), then the row: a disabled box ignores its click,
        // the fourth tick clears the row, unticking the only tick gives C.
        const std::pair<const char*, const char*> etapes[] = {{"", "A|-"},   {"S", "A|-"},     {"N", "C|+"},
                                                              {"S", "B|S+"}, {"TC", "B|STC+"}, {"H", "C|+"},
                                                              {"TT", "C|+"}, {"HF", "A|-"}};
        for (std::size_t l = 0; l < grille::kNbLignes; ++l) {
            Banc b(clicsProgrammes);
            b.grille.selectionnerToutesFait();
            for (const auto& [clics, attendu] : etapes) {
                for (char k : std::string_view(clics))
                    k == 'F'   ? b.grille.cliquerFait(l)
                    : k == 'N' ? b.grille.cliquerFaitPas(l)
                               : b.grille.cliquerCase(l, Adverbe(std::string_view("STCH").find(k)));
                QCOMPARE(etat(b.grille, l), attendu);
            }
        }
    }

    // Before the first reset no option is selected: a tick already counts. The reset brings any grid to the
    // same state.
    void remiseAZero()
    {
        Banc b;
        b.grille.cliquerCase(3, Adverbe::T);
        QCOMPARE(b.grille.note(3), "B");
        b.grille.cliquerCase(3, Adverbe::T);
        QCOMPARE(b.grille.note(3), "C");
        b.tables = essai::tablesDuDecret();
        b.grille.selectionnerToutesFait();
        // Every row "Ne fait pas", with ticks on the illustrative ones: GIR 1.
        for (std::size_t l = 0; l < grille::kNbLignes; ++l)
            b.ligne(l, QList<std::size_t>{9, 12, 13, 16, 17, 18, 19}.contains(l) ? "NSC" : "N");
        QCOMPARE(b.grille.groupe(), "1");
        b.grille.selectionnerToutesFait();
        for (std::size_t l = 0; l < grille::kNbLignes; ++l) {
            QVERIFY(b.grille.fait(l) && !b.grille.faitPas(l));
            QCOMPARE(etat(b.grille, l), "A|-");
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
        // Rows: first note A, B, C, empty; columns: the second one.
        const std::pair<RegleComposee, const char*> tables[] = {
            {RegleComposee::Toilette, "ABBB BBBB BBCB BBBB"},
            {RegleComposee::Elimination, "ABCB BBCB CCCC BBCB"},
            {RegleComposee::Orientation, "ABCB BBCB CCCC BBCB"},
            {RegleComposee::Coherence, "ABCB BBCB CCCC BBCB"},
            {RegleComposee::Alimentation, "ABBB BBCC BCCC BCCC"},
        };
        for (const auto& [regle, resultats] : tables)
            for (int i = 0; i < 4; ++i)
                for (int j = 0; j < 4; ++j)
                    QTest::addRow("%d %s+%s", int(regle), qPrintable(lettres[i]), qPrintable(lettres[j]))
                        << int(regle) << lettres[i] << lettres[j] << QString(resultats[5 * i + j]);
        // Habillage: three notes, A or C when all three are; B otherwise.
        for (const char* cas : {"AAA=A", "CCC=C", "AAC=B", "CCB=B", "ABC=B", "BBB=B", "   =B"})
            QTest::addRow("habillage %s", cas)
                << int(RegleComposee::Habillage) << QString(cas).left(3) << QString() << QString(cas[4]);
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

    // Each composite reads its own rows by its rule: first row C, the others A then B give B,B (all C), C,C
    // (one C) and B,C (Alimentation).
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

    // Each discriminant variable weighs on its own row of the tables (rows 1 to 10: the evaluation rows of
    // their variable), each group on its own table.
    void lignesDePoids()
    {
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

    // The parameter store is seeded with the decree's 160 weights.
    void poidsDuMagasin()
    {
        QTemporaryDir dossier;
        BaseDonneesAutonome base(
            MagasinParametres::ouvrir(dossier.filePath("p.sqlite").toStdString(), "/opt/p/data/"));
        const TablesGroupes tables = lireTablesGroupes(base);
        for (std::size_t g = 0; g < 8; ++g)
            for (std::int16_t l = 1; l <= 10; ++l)
                for (std::int16_t c = 1; c <= 2; ++c)
                    QVERIFY2(tables[g]->Valeur(l, c) == essai::kPoidsDuDecret[g][l - 1][c - 1],
                             qPrintable(QStringLiteral("%1 %2 %3").arg(QChar('A' + int(g))).arg(l).arg(c)));
    }

    // On the decree's weights, evaluations whose decisive group scores exactly its threshold (sums by hand
    // from the decree's table): one weight less and the GIR changes. Letters in weight-table row order:
    // Cohérence, Orientation, Toilette, Habillage, Alimentation, Elimination, Transferts, Déplacements
    // intérieurs and extérieurs, Alerter.
    void girsDuDecret_data()
    {
        QTest::addColumn<QString>("modalites");
        QTest::addColumn<int>("gir");
        QTest::newRow("A 2000+1200+40+40+100+800+200 = 4380") << "CCCCACCCAA" << 1;
        QTest::newRow("A 2000+1200+40+100+800 = 4140") << "CCACACCAAA" << 2;
        QTest::newRow("A 2000+1200+40+100+32 = 3392") << "CCAACCABAA" << 2;
        QTest::newRow("B 1200+16+800 = 2016") << "ACAAABCAAA" << 2;
        QTest::newRow("C 40+40+60+160+1000+400 = 1700") << "AACCCCCCAA" << 2;
        QTest::newRow("C 16+16+1000+400 = 1432") << "AABBAACCAA" << 2;
        QTest::newRow("D 200+2000+200 = 2400") << "AAAAABCCAA" << 2;
        QTest::newRow("E 100+800+100+200 = 1200") << "AAAABCBCAA" << 3;
        QTest::newRow("F 500+100+200 = 800") << "AAAAACBCAA" << 3;
        QTest::newRow("G 150+200+200+100 = 650") << "ACAAABBBAA" << 4;
        QTest::newRow("H 2000+2000 = 4000") << "AAAAABBAAA" << 4;
        QTest::newRow("H 2000 = 2000") << "AAAAAABAAA" << 5;
        QTest::newRow("H 1000 < 2000") << "AAAAAAABAA" << 6;
    }
    void girsDuDecret()
    {
        QFETCH(QString, modalites);
        QFETCH(int, gir);
        Banc b;
        b.tables = essai::tablesDuDecret();
        CodesModalites codes{};
        // The variables of the weight-table rows, by number.
        const int variables[] = {17, 16, 3, 5, 7, 4, 1, 2, 11, 10};
        for (std::size_t r = 0; r < 10; ++r) {
            codes[r] = std::uint8_t(modalites[qsizetype(r)].unicode() - 'A');
            b.grille.noteVariable(variables[r])
                .definirTexte(std::string(1, char(modalites[qsizetype(r)].unicode())));
        }
        b.moteur.CalculerGir();
        QCOMPARE(b.grille.groupe(), std::to_string(gir));
        QCOMPARE(PoidsGroupes::lire(b.tables).evaluer(codes).gir, gir);
    }

    // Every step of the cascade, at its threshold and just below; a group is scored only when the cascade
    // reaches it.
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

    // The sub-group from Alerter (rows) and Déplacements extérieurs (columns), empty for GIR 1 to 4.
    void sousGroupe_data()
    {
        QTest::addColumn<QString>("alerter");
        QTest::addColumn<QString>("deplacements");
        QTest::addColumn<QString>("attendu");
        const QStringList v{"A", "B", "C", ""};
        const char* table = "ABCC BBCB CCCC CBCC";
        for (int i = 0; i < 4; ++i)
            for (int j = 0; j < 4; ++j)
                QTest::addRow("%s/%s", qPrintable(v[i]), qPrintable(v[j]))
                    << v[i] << v[j] << QString(table[5 * i + j]);
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

    // Each addition rounds to the nearest 32-bit integer, ties to even; a total out of range is an overflow.
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

    // The lookup table gives the cascade's result for all 3^10 combinations.
    void tableDeConsultation()
    {
        const TablesGroupes tables = essai::tablesDuDecret();
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
