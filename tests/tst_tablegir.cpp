// The lookup table of the batch scorer against the engine's own cascade, on
// every one of the 3^10 combinations of modalities.

#include "GrilleAggir.h"
#include "GrilleMemoire.h"
#include "MoteurAggir.h"
#include "TableGir.h"
#include "TablesEssai.h"

#include <QTest>

#include <random>

using namespace pavonis;

namespace {

// Compares the table with the engine reading the same host tables through
// its working table; returns the number of combinations checked.
int comparerAvecLeMoteur(const TablesGroupes& tables)
{
    const TableGir table(PoidsGroupes::lire(tables));
    GrilleMemoire grille(false);
    std::shared_ptr<IEntreeParametre> tablePoids;
    essai::FabriqueComptee fabrique;
    MoteurAggir moteur(grille, tables, tablePoids, fabrique.fabrique());

    static const char* lettres[] = {"A", "B", "C"};
    int verifiees = 0;
    for (std::uint32_t i = 0; i < TableGir::kTaille; ++i) {
        CodesModalites codes{};
        std::uint32_t reste = i;
        for (std::size_t r = 0; r < codes.size(); ++r) {
            codes[r] = std::uint8_t(reste % 3);
            reste /= 3;
            grille.noteVariable(grille::kVariablesPonderees[r]).definirTexte(lettres[codes[r]]);
        }
        if (TableGir::index(codes) != i)
            return -1;
        std::optional<ResultatGir> attendu;
        try {
            moteur.CalculerGir();
            attendu = ResultatGir{std::stoi(grille.groupe()),
                                  grille.sousGroupe().empty() ? '\0' : grille.sousGroupe()[0]};
        } catch (const Erreur&) {
        }
        if (table.resultat(i) != attendu) {
            qWarning("combinaison %u : table et moteur diffèrent", i);
            return -1;
        }
        ++verifiees;
    }
    return verifiees;
}

} // namespace

class TestTableGir : public QObject {
    Q_OBJECT

private slots:
    void accordAvecLaCascade_poidsPublies()
    {
        QCOMPARE(comparerAvecLeMoteur(essai::tablesPubliees()), int(TableGir::kTaille));
    }

    // Fractional weights exercise the rounding after each addition, huge
    // ones the overflow: the table must fail exactly where the engine does.
    void accordAvecLaCascade_poidsAleatoires()
    {
        std::mt19937 alea(20081);
        std::uniform_int_distribution<int> demis(-3000, 9000);
        TablesGroupes tables;
        for (std::size_t g = 0; g < tables.size(); ++g) {
            essai::Poids p{};
            for (auto& ligne : p)
                for (double& w : ligne)
                    w = demis(alea) / 2.0;
            if (g == 0)
                p[0][1] = 2147483000.0; // group A overflows when Cohérence is C and enough adds up
            tables[g] = essai::table(p, char('A' + g));
        }
        const TableGir table(PoidsGroupes::lire(tables));
        int debordements = 0;
        for (std::uint32_t i = 0; i < TableGir::kTaille; ++i)
            debordements += table.code(i) == 0;
        QVERIFY(debordements > 0);
        QCOMPARE(comparerAvecLeMoteur(tables), int(TableGir::kTaille));
    }

    // The table is built from the host's weights, not from constants.
    void construiteDepuisLesPoidsDeLHote()
    {
        CodesModalites toutB;
        toutB.fill(1);
        TablesGroupes tables = essai::tablesPubliees();
        QCOMPARE(TableGir(PoidsGroupes::lire(tables)).resultat(TableGir::index(toutB))->gir, 4);
        essai::Poids p{};
        p[6][0] = 5000; // Transferts B weighs 5000 in group A
        tables[0] = essai::table(p, 'A');
        QCOMPARE(TableGir(PoidsGroupes::lire(tables)).resultat(TableGir::index(toutB))->gir, 1);

        tables[5].reset();
        QVERIFY_THROWS_EXCEPTION(Erreur, PoidsGroupes::lire(tables));
    }
};

QTEST_GUILESS_MAIN(TestTableGir)
#include "tst_tablegir.moc"
