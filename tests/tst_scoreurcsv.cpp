// pavonis-gir: both input forms, the CSV details that must survive
// (separators, quotes, line ends, byte-order mark), every error path, and the
// program's exit statuses.

#include "GrilleAggir.h"
#include "MagasinParametres.h"
#include "ScoreurCsv.h"
#include "TablesEssai.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cstring>

using namespace pavonis;

namespace {

const char* kEnteteModalites = "coherence;orientation;toilette;habillage;alimentation;elimination;"
                               "transferts;deplacements_interieurs;deplacements_exterieurs;alerter";

struct Resultat {
    int statut;
    QByteArray sortie;
    QStringList erreurs;
};

// Feeds the input `morceau` bytes at a time, to cross every buffer boundary.
Resultat scorer(const TableGir& table, const QByteArray& entree, std::size_t morceau = 1 << 20)
{
    ScoreurCsv s(table);
    Resultat r;
    std::size_t pos = 0;
    std::string sortie;
    r.statut = s.traiter(
        [&](char* tampon, std::size_t taille) {
            const std::size_t n = std::min({taille, morceau, std::size_t(entree.size()) - pos});
            std::memcpy(tampon, entree.constData() + pos, n);
            pos += n;
            return n;
        },
        [&](std::string_view t) { sortie.append(t); },
        [&](const std::string& m) { r.erreurs << QString::fromStdString(m); });
    r.sortie = QByteArray::fromStdString(sortie);
    return r;
}

} // namespace

class TestScoreurCsv : public QObject {
    Q_OBJECT

    std::unique_ptr<TableGir> table_;

private slots:
    void initTestCase() { table_ = std::make_unique<TableGir>(PoidsGroupes::lire(essai::tablesPubliees())); }

    void modeModalites()
    {
        const QByteArray entree = QByteArray("dossier;") + kEnteteModalites + ";remarque\n"
                                  "D1;A;A;A;A;A;A;A;A;A;A;rien\n"
                                  "D2;C;C;C;C;C;C;C;C;C;C;\"grabataire; suivi\"\n"
                                  "D3;A;A;B;A;A;A;A;A;A;C;\n"
                                  "D4;A;A;A;A;A;A;A;A;B;A;\"dit \"\"non\"\"\"\n";
        const Resultat r = scorer(*table_, entree);
        QCOMPARE(r.statut, 0);
        QVERIFY(r.erreurs.isEmpty());
        QCOMPARE(r.sortie, (QByteArray("dossier;") + kEnteteModalites +
                                                ";remarque;gir;sous_groupe\n"
                                                "D1;A;A;A;A;A;A;A;A;A;A;rien;6;A\n"
                                                "D2;C;C;C;C;C;C;C;C;C;C;\"grabataire; suivi\";1;\n"
                                                "D3;A;A;B;A;A;A;A;A;A;C;;5;C\n"
                                                "D4;A;A;A;A;A;A;A;A;B;A;\"dit \"\"non\"\"\";6;B\n"));
    }

    // Column order is free; "," is recognised; CRLF and a byte-order mark
    // are kept; any chunk size gives the same output.
    void formesDeFichier_data()
    {
        QTest::addColumn<int>("morceau");
        QTest::newRow("d'un bloc") << (1 << 20);
        QTest::newRow("octet par octet") << 1;
        QTest::newRow("7 octets") << 7;
    }

    void formesDeFichier()
    {
        QFETCH(int, morceau);
        const QByteArray entree = "\xEF\xBB\xBF" "alerter,deplacements_exterieurs,\"note, libre\",transferts,"
                                  "deplacements_interieurs,elimination,alimentation,habillage,toilette,"
                                  "orientation,coherence\r\n"
                                  "B,A,\"a,\r\nb\",A,A,A,A,A,A,A,A\r\n"
                                  "\r\n"
                                  "A,A,x,C,C,C,C,C,C,C,C";
        const Resultat r = scorer(*table_, entree, std::size_t(morceau));
        QVERIFY2(r.statut == 0, qPrintable(r.erreurs.join('\n')));
        QCOMPARE(r.sortie, QByteArray("\xEF\xBB\xBF" "alerter,deplacements_exterieurs,\"note, libre\","
                                               "transferts,deplacements_interieurs,elimination,alimentation,"
                                               "habillage,toilette,orientation,coherence,gir,sous_groupe\r\n"
                                               "B,A,\"a,\r\nb\",A,A,A,A,A,A,A,A,6,B\r\n"
                                               "A,A,x,C,C,C,C,C,C,C,C,1,\r\n"));
    }

    void modeLignes()
    {
        static const char* cles[] = {"Transferts", "DeplacInter", "ToiletteH", "ToiletteB", "EliminationFecale",
                                     "EliminationUrinaire", "HabillageH", "HabillageM", "HabillageB", "Cuisine",
                                     "AlimentationServir", "AlimentationManger", "SuiviTraitement", "Menage",
                                     "Alerter", "DeplacExter", "Transports", "ActivitesTempsLibre", "Achats",
                                     "Gestion", "OrientationTemps", "OrientationEspace",
                                     "CoherenceCommunication", "CoherenceComportement"};
        QStringList entete{"id"};
        for (const char* c : cles)
            entete << c;
        const auto ligne = [](const QString& id, QStringList cellules) {
            cellules.prepend(id);
            return cellules.join(',');
        };
        QStringList toutF, toutN, mixte;
        for (int i = 0; i < 24; ++i) {
            toutF << "F";
            toutN << (i % 2 ? "N" : "NSTCH"); // four adverbs clear back to C
        }
        // ToiletteH NS (B), ToiletteB F (A) -> toilette B; HabillageH/M/B all
        // N -> C; AlimentationServir F, Manger N -> B; Cohérence NTH + N -> C;
        // Alerter NH -> B.
        mixte = toutF;
        mixte[2] = "NS";
        mixte[6] = mixte[7] = mixte[8] = "N";
        mixte[11] = "N";
        mixte[14] = "NH";
        mixte[22] = "NTH";
        mixte[23] = "N";

        const QString entree = entete.join(',') + "\n" + ligne("tout-F", toutF) + "\n" +
                               ligne("tout-N", toutN) + "\n" + ligne("mixte", mixte) + "\n";
        const Resultat r = scorer(*table_, entree.toUtf8());
        QCOMPARE(r.statut, 0);
        const QStringList lignes = QString::fromUtf8(r.sortie).split('\n');
        QCOMPARE(lignes[0], entete.join(',') + ",toilette,elimination,habillage,alimentation,orientation,coherence,"
                                               "gir,sous_groupe");
        QCOMPARE(lignes[1], ligne("tout-F", toutF) + ",A,A,A,A,A,A,6,A");
        QCOMPARE(lignes[2], ligne("tout-N", toutN) + ",C,C,C,C,C,C,1,");
        // Scores: A = 16+40+20+2000 = 2076; B = 16+40+0+1500 = 1556; C = 16+40+20
        // = 76; D = 200; E = 100+400+100+400 = 1000; F = 100+500+100+200 =
        // 900 >= 800 -> GIR 3.
        QCOMPARE(lignes[3], ligne("mixte", mixte) + ",B,A,C,B,A,C,3,");
    }

    void lignesEnErreur_data()
    {
        QTest::addColumn<QByteArray>("ligne");
        QTest::addColumn<QString>("message");
        QTest::newRow("lettre inconnue") << QByteArray("A;A;D;A;A;A;A;A;A;A") << "ligne 3, colonne \"toilette\" : valeur \"D\"";
        QTest::newRow("minuscule") << QByteArray("A;a;A;A;A;A;A;A;A;A") << "colonne \"orientation\" : valeur \"a\"";
        QTest::newRow("cellule vide") << QByteArray("A;A;A;A;A;A;A;A;;A") << "colonne \"deplacements_exterieurs\" : cellule vide";
        QTest::newRow("trop court") << QByteArray("A;A;A") << "ligne 3 : 3 colonne(s) au lieu de 10";
        QTest::newRow("trop long") << QByteArray("A;A;A;A;A;A;A;A;A;A;A") << "11 colonne(s) au lieu de 10";
        QTest::newRow("deux lettres") << QByteArray("AB;A;A;A;A;A;A;A;A;A") << "valeur \"AB\"";
    }

    // A bad line is reported and written with empty results; the lines
    // around it are scored.
    void lignesEnErreur()
    {
        QFETCH(QByteArray, ligne);
        QFETCH(QString, message);
        const QByteArray entree = QByteArray(kEnteteModalites) + "\nC;C;C;C;C;C;C;C;C;C\n" + ligne +
                                  "\nA;A;A;A;A;A;A;A;A;A\n";
        const Resultat r = scorer(*table_, entree);
        QCOMPARE(r.statut, 2);
        QCOMPARE(r.erreurs.size(), 1);
        QVERIFY2(r.erreurs[0].contains(message), qPrintable(r.erreurs[0]));
        const QStringList lignes = QString::fromUtf8(r.sortie).split('\n');
        QCOMPARE(lignes.size(), 5);
        QVERIFY(lignes[1].endsWith(";1;"));
        QCOMPARE(lignes[2], QString::fromUtf8(ligne) + ";;");
        QVERIFY(lignes[3].endsWith(";6;A"));
    }

    void cellulesDeLignesInvalides()
    {
        QStringList cles;
        for (const auto& l : grille::kLignes)
            cles << QString::fromUtf8(l.cle.data(), qsizetype(l.cle.size()));
        for (const char* mauvaise : {"NSS", "X", "FS", "n", "NA", ""}) {
            QStringList cellules(24, "F");
            cellules[5] = mauvaise;
            const Resultat r = scorer(*table_, (cles.join(';') + '\n' + cellules.join(';') + '\n').toUtf8());
            QCOMPARE(r.statut, 2);
            QCOMPARE(r.erreurs.size(), 1);
            QVERIFY2(r.erreurs[0].contains("colonne \"EliminationUrinaire\""), qPrintable(r.erreurs[0]));
            QVERIFY(r.sortie.endsWith(";;;;;;;;\n")); // six composites, gir, sous_groupe all empty
        }
    }

    void entetesRefuses_data()
    {
        QTest::addColumn<QByteArray>("entree");
        QTest::addColumn<QString>("message");
        QTest::newRow("vide") << QByteArray() << "entrée vide";
        QTest::newRow("colonne manquante")
            << QByteArray("coherence;orientation;toilette;habillage;alimentation;elimination;transferts;"
                          "deplacements_interieurs;deplacements_exterieurs\nA;A;A;A;A;A;A;A;A\n")
            << "il manque : alerter";
        QTest::newRow("doublon") << QByteArray(kEnteteModalites) + ";toilette\n" << "\"toilette\" apparaît 2 fois";
        QTest::newRow("majuscules") << QByteArray(kEnteteModalites).toUpper() + "\n" << "en-tête non reconnu";
    }

    void entetesRefuses()
    {
        QFETCH(QByteArray, entree);
        QFETCH(QString, message);
        const Resultat r = scorer(*table_, entree);
        QCOMPARE(r.statut, 2);
        QVERIFY(r.sortie.isEmpty());
        QCOMPARE(r.erreurs.size(), 1);
        QVERIFY2(r.erreurs[0].contains(message), qPrintable(r.erreurs[0]));
    }

    // The program itself: exit statuses, messages and the parameter store.
    void programme()
    {
        QTemporaryDir dossier;
        const QString magasin = dossier.path() + "/p.sqlite";
        QProcess p;
        p.setProgram(PAVONIS_GIR);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_DATA_HOME", dossier.path() + "/xdg");
        p.setProcessEnvironment(env);

        p.setArguments({"--help"});
        p.start();
        QVERIFY(p.waitForFinished());
        QCOMPARE(p.exitCode(), 0);
        const QString aide = QString::fromUtf8(p.readAllStandardOutput());
        QVERIFY(aide.contains("Mode modalités") && aide.contains("Mode lignes"));

        // A store that does not exist is not created behind the user's back.
        p.setArguments({"--parametres", magasin});
        p.start();
        p.write(QByteArray(kEnteteModalites) + "\nA;A;A;A;A;A;A;A;A;A\n");
        p.closeWriteChannel();
        QVERIFY(p.waitForFinished());
        QCOMPARE(p.exitCode(), 1);
        QVERIFY(QString::fromUtf8(p.readAllStandardError()).contains("n'existe pas"));

        // The default store is created on first use, then used.
        p.setArguments({});
        p.start();
        p.write(QByteArray(kEnteteModalites) + "\nA;A;A;A;A;A;A;A;A;A\nA;Z;A;A;A;A;A;A;A;A\n");
        p.closeWriteChannel();
        QVERIFY(p.waitForFinished());
        QCOMPARE(p.exitCode(), 2);
        QCOMPARE(p.readAllStandardOutput(), QByteArray(kEnteteModalites) +
                                                ";gir;sous_groupe\nA;A;A;A;A;A;A;A;A;A;6;A\nA;Z;A;A;A;A;A;A;A;A;;\n");
        QVERIFY(QString::fromUtf8(p.readAllStandardError()).contains("ligne 3, colonne \"orientation\""));

        // Weights come from the store given: doubling one changes the GIR.
        const QString defaut = dossier.path() + "/xdg/pavonis/parametres.sqlite";
        QVERIFY(QFile::copy(defaut, magasin));
        {
            auto m = MagasinParametres::ouvrirExistant(magasin.toStdString());
            m->ecrireValeur("AGGIRPARAM", "H", 3, 1, 4000); // Toilette B in group H
        }
        const QByteArray toiletteB = QByteArray(kEnteteModalites) + "\nA;A;B;A;A;A;A;A;A;A\n";
        for (auto [args, gir] : {std::pair{QStringList{}, QByteArray(";5;A")},
                                 std::pair{QStringList{"--parametres", magasin}, QByteArray(";4;")}}) {
            p.setArguments(args);
            p.start();
            p.write(toiletteB);
            p.closeWriteChannel();
            QVERIFY(p.waitForFinished());
            QCOMPARE(p.exitCode(), 0);
            QVERIFY(p.readAllStandardOutput().trimmed().endsWith(gir));
        }

        // A store with a missing table is refused before any line is read.
        {
            auto m = MagasinParametres::ouvrirExistant(magasin.toStdString());
            m->supprimerEntree("AGGIRPARAM", "G");
        }
        p.setArguments({"--parametres", magasin, "/nonexistent.csv"});
        p.start();
        QVERIFY(p.waitForFinished());
        QCOMPARE(p.exitCode(), 1);
        QVERIFY(QString::fromUtf8(p.readAllStandardError()).contains("\"G\""));

        p.setArguments({"--inconnue"});
        p.start();
        QVERIFY(p.waitForFinished());
        QCOMPARE(p.exitCode(), 2);
    }
};

QTEST_GUILESS_MAIN(TestScoreurCsv)
#include "tst_scoreurcsv.moc"
