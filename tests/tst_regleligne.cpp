// The row rule on the in-memory grid: what one click does to a row, nested
// runs caused by the program's own changes, and the grid reset.

#include "GrilleAggir.h"
#include "GrilleMemoire.h"
#include "MoteurAggir.h"
#include "TablesEssai.h"

#include <QTest>

using namespace pavonis;

namespace {

struct Banc {
    explicit Banc(bool clicsProgrammes)
        : grille(clicsProgrammes), tables(essai::tablesPubliees()),
          moteur(grille, tables, tablePoids, fabrique.fabrique())
    {
        grille.definirGestionnaireClic([this](std::size_t ligne) {
            ++executions;
            moteur.CalculerNote(ligne);
        });
    }

    // "values/enabled" of the S, T, C, H boxes, e.g. "0000/----" or "1010/++++".
    QString cases(std::size_t ligne) const
    {
        QString v, a;
        for (Adverbe x : kAdverbes) {
            v += QString::number(grille.valeurCase(ligne, x));
            a += grille.caseActive(ligne, x) ? '+' : '-';
        }
        return v + '/' + a;
    }
    QString etat(std::size_t ligne) const
    {
        return cases(ligne) + ' ' + QString::fromStdString(grille.note(ligne));
    }
    QString instantane()
    {
        QString s;
        for (std::size_t i = 0; i < grille::kNbLignes; ++i)
            s += QString("%1%2%3 %4|").arg(grille.fait(i)).arg(grille.faitPas(i)).arg(etat(i)).arg(i);
        for (int n : grille::kVariablesComposees)
            s += QString::fromStdString(grille.noteDe(n));
        return s + QString::fromStdString(grille.groupe() + grille.sousGroupe());
    }

    GrilleMemoire grille;
    TablesGroupes tables;
    std::shared_ptr<IEntreeParametre> tablePoids;
    essai::FabriqueComptee fabrique;
    MoteurAggir moteur;
    int executions = 0;
};

} // namespace

class TestRegleLigne : public QObject {
    Q_OBJECT

private slots:
    void sequenceDUneLigne_data()
    {
        QTest::addColumn<bool>("clicsProgrammes");
        QTest::addColumn<int>("ligne");
        for (bool clics : {true, false})
            for (std::size_t i = 0; i < grille::kNbLignes; ++i)
                QTest::addRow("%s %s", clics ? "avec-clics" : "sans-clics",
                              std::string(grille::kLignes[i].cle).c_str())
                    << clics << int(i);
    }

    // Every row goes through the same states for the same clicks.
    void sequenceDUneLigne()
    {
        QFETCH(bool, clicsProgrammes);
        QFETCH(int, ligne);
        Banc b(clicsProgrammes);
        const auto l = std::size_t(ligne);
        using enum Adverbe;

        b.grille.selectionnerToutesFait();
        QCOMPARE(b.etat(l), "0000/---- A");

        b.grille.cliquerFaitPas(l);
        QCOMPARE(b.etat(l), "0000/++++ C");
        b.grille.cliquerCase(l, S);
        QCOMPARE(b.etat(l), "1000/++++ B");
        b.grille.cliquerCase(l, T);
        b.grille.cliquerCase(l, C);
        QCOMPARE(b.etat(l), "1110/++++ B");
        // The fourth tick clears the row.
        b.grille.cliquerCase(l, H);
        QCOMPARE(b.etat(l), "0000/++++ C");

        b.grille.cliquerCase(l, C);
        QCOMPARE(b.etat(l), "0010/++++ B");
        b.grille.cliquerCase(l, C); // unticking the only tick
        QCOMPARE(b.etat(l), "0000/++++ C");

        b.grille.cliquerCase(l, T);
        b.grille.cliquerCase(l, H);
        QCOMPARE(b.etat(l), "0101/++++ B");
        b.grille.cliquerFait(l);
        QCOMPARE(b.etat(l), "0000/---- A");
        QVERIFY(b.grille.fait(l) && !b.grille.faitPas(l));

        // A disabled box takes no tick.
        b.grille.cliquerCase(l, S);
        QCOMPARE(b.etat(l), "0000/---- A");

        // Clicking the option already selected changes nothing.
        b.grille.cliquerFait(l);
        QCOMPARE(b.etat(l), "0000/---- A");
    }

    // With the toolkit raising clicks for the program's changes, clearing the
    // four boxes runs the rule again, nested, and ends in the same state.
    void reentreeImbriquee()
    {
        Banc avec(true), sans(false);
        for (Banc* b : {&avec, &sans}) {
            b->grille.selectionnerToutesFait();
            b->grille.cliquerFaitPas(0);
            for (Adverbe a : {Adverbe::S, Adverbe::T, Adverbe::C})
                b->grille.cliquerCase(0, a);
            b->executions = 0;
            b->grille.cliquerCase(0, Adverbe::H);
        }
        QCOMPARE(sans.executions, 1);
        QCOMPARE(avec.executions, 5); // the click, then one nested run per cleared box
        QCOMPARE(avec.instantane(), sans.instantane());
        QCOMPARE(avec.etat(0), "0000/++++ C");
    }

    void avantLaPremiereRemiseAZero()
    {
        Banc b(true);
        QCOMPARE(b.etat(3), "0000/++++ ");
        b.grille.cliquerCase(3, Adverbe::T);
        QCOMPARE(b.etat(3), "0100/++++ B");
        b.grille.cliquerCase(3, Adverbe::T);
        QCOMPARE(b.etat(3), "0000/++++ C");
        QVERIFY(!b.grille.fait(3) && !b.grille.faitPas(3));
    }

    void remiseAZero()
    {
        Banc neuve(true), utilisee(true);
        neuve.grille.selectionnerToutesFait();
        QCOMPARE(neuve.grille.groupe(), "6");
        QCOMPARE(neuve.grille.sousGroupe(), "A");
        for (int n : grille::kVariablesComposees)
            QCOMPARE(neuve.grille.noteDe(n), "A");

        // An evaluation with "Ne fait pas" rows and ticks, then a reset.
        utilisee.grille.selectionnerToutesFait();
        for (std::size_t i = 0; i < grille::kNbLignes; i += 2) {
            utilisee.grille.cliquerFaitPas(i);
            utilisee.grille.cliquerCase(i, Adverbe::S);
        }
        QCOMPARE_NE(utilisee.instantane(), neuve.instantane());
        utilisee.executions = 0;
        utilisee.grille.selectionnerToutesFait();
        QCOMPARE(utilisee.instantane(), neuve.instantane());
        // Only the twelve rows that had left "Fait" ran again (with their
        // nested runs for the ticks cleared).
        QCOMPARE(utilisee.executions, 24);
    }

    // A click on an illustrative row still rewrites composite notes and GIR.
    void ligneIllustrativeRecalculeTout()
    {
        Banc b(true);
        b.grille.selectionnerToutesFait();
        b.grille.noteVariable(3).definirTexte("?");
        b.grille.zoneGroupe().definirTexte("?");
        b.grille.zoneSousGroupe().definirTexte("?");
        const std::size_t achats = *grille::indexLigne("Achats");
        b.grille.cliquerFaitPas(achats);
        QCOMPARE(b.grille.noteDe(3), "A");
        QCOMPARE(b.grille.groupe(), "6");
        QCOMPARE(b.grille.sousGroupe(), "A");
    }
};

QTEST_GUILESS_MAIN(TestRegleLigne)
#include "tst_regleligne.moc"
