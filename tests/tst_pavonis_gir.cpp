// pavonis-gir: both CSV forms and JSON Lines, the CSV details that must
// survive (separators, quotes, line ends, byte-order mark), every error
// path, the population summary, and the program's exit statuses.

#include "TablesEssai.h"
#include <pavonis/gir/ScoreurCsv.h>
#include <pavonis/gir/ScoreurJsonl.h>
#include <pavonis/host/MagasinParametres.h>

#include <pavonis/evaluation/FormatEvaluation.h>

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cstring>

using namespace pavonis;

namespace {

const QByteArray kModalites = "coherence;orientation;toilette;habillage;alimentation;elimination;transferts;"
                              "deplacements_interieurs;deplacements_exterieurs;alerter";
const QByteArray kLignes =
    "Transferts;DeplacInter;ToiletteH;ToiletteB;EliminationFecale;EliminationUrinaire;"
    "HabillageH;HabillageM;HabillageB;Cuisine;AlimentationServir;AlimentationManger;"
    "SuiviTraitement;Menage;Alerter;DeplacExter;Transports;ActivitesTempsLibre;Achats;Gestion;"
    "OrientationTemps;OrientationEspace;CoherenceCommunication;CoherenceComportement";

struct Resultat {
    int statut;
    QByteArray sortie;
    QStringList erreurs;
};

// Feeds the input `morceau` bytes at a time, to cross every buffer boundary.
template <class Scoreur>
Resultat scorer(const TableGir& table, const QByteArray& entree, std::size_t morceau = 1 << 20)
{
    Scoreur s(table);
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

class TestPavonisGir : public QObject {
    Q_OBJECT

    std::unique_ptr<TableGir> table_;
    QTemporaryDir dossier_;

    Resultat csv(const QByteArray& e, std::size_t morceau = 1 << 20)
    {
        return scorer<ScoreurCsv>(*table_, e, morceau);
    }

private slots:
    void initTestCase() { table_ = std::make_unique<TableGir>(PoidsGroupes::lire(essai::tablesPubliees())); }

    // GIR and sub-group by the published weights; other columns unchanged.
    void modeModalites()
    {
        const Resultat r = csv("dossier;" + kModalites +
                               ";remarque\n"
                               "D1;A;A;A;A;A;A;A;A;A;A;rien\n"
                               "D2;C;C;C;C;C;C;C;C;C;C;\"grabataire; suivi\"\n"
                               "D3;A;A;B;A;A;A;A;A;A;C;\n"
                               "D4;A;A;A;A;A;A;A;A;B;A;\"dit \"\"non\"\"\"\n");
        QCOMPARE(r.statut, 0);
        QCOMPARE(r.sortie, "dossier;" + kModalites +
                               ";remarque;gir;sous_groupe\n"
                               "D1;A;A;A;A;A;A;A;A;A;A;rien;6;A\n"
                               "D2;C;C;C;C;C;C;C;C;C;C;\"grabataire; suivi\";1;\n"
                               "D3;A;A;B;A;A;A;A;A;A;C;;5;C\n"
                               "D4;A;A;A;A;A;A;A;A;B;A;\"dit \"\"non\"\"\";6;B\n");
    }

    // Rows: "F", or "N" and the adverbs not met; the composite modalities
    // are written before the GIR.
    void modeLignes()
    {
        QByteArray ligne = "F;F;NS;N;F;F;F;NTH;F;N;F;F;F;F;F;F;F;F;F;F;F;F;N;NSTCH";
        const Resultat r = csv(kLignes + "\n" + ligne + "\n");
        QCOMPARE(r.statut, 0);
        // Toilette B+C: B; Habillage A,B,A: B; Cohérence C+C: C.
        QCOMPARE(r.sortie,
                 kLignes +
                     ";toilette;elimination;habillage;alimentation;orientation;coherence;gir;sous_groupe\n" +
                     ligne + ";B;A;B;A;A;C;4;\n");
        QVERIFY(csv(kLignes + "\n" + QByteArray(ligne).replace("NTH", "NTHT") + "\n")
                    .erreurs.join('|')
                    .contains("ligne 2, colonne \"HabillageM\" : valeur \"NTHT\" invalide"));
    }

    // The forms a CSV file takes; any chunk size gives the same output.
    void formesDeFichier_data()
    {
        QTest::addColumn<QByteArray>("entree");
        QTest::addColumn<QByteArray>("attendue");
        const QByteArray a = "A;A;A;A;A;A;A;A;A;A", c = "C;C;C;C;C;C;C;C;C;C";
        const QByteArray v = QByteArray(kModalites).replace(';', ',');
        QTest::newRow("virgule, colonnes dans le désordre")
            << "alerter,id," + QByteArray(v).replace(",alerter", "") + "\nC,1,A,A,A,A,A,A,A,A,A\n"
            << "alerter,id," + QByteArray(v).replace(",alerter", "") +
                   ",gir,sous_groupe\nC,1,A,A,A,A,A,A,A,A,A,6,C\n";
        QTest::newRow("CRLF") << kModalites + "\r\n" + a + "\r\n"
                              << kModalites + ";gir;sous_groupe\r\n" + a + ";6;A\r\n";
        QTest::newRow("CR seul") << kModalites + "\r" + a + "\r" + c
                                 << kModalites + ";gir;sous_groupe\r" + a + ";6;A\r" + c + ";1;\r";
        QTest::newRow("marque d'ordre, champ entre guillemets")
            << "\xEF\xBB\xBF\"id;n\";" + kModalites + "\n1;" + a + "\n"
            << "\xEF\xBB\xBF\"id;n\";" + kModalites + ";gir;sous_groupe\n1;" + a + ";6;A\n";
        QTest::newRow("champ sur deux lignes")
            << "note;" + kModalites + "\n\"a\nb\";" + c + "\n"
            << "note;" + kModalites + ";gir;sous_groupe\n\"a\nb\";" + c + ";1;\n";
        QTest::newRow("recalcul") << kModalites + ";gir;x;sous_groupe\n" + a + ";3;y;C\n"
                                  << kModalites + ";gir;x;sous_groupe\n" + a + ";6;y;A\n";
        QTest::newRow("colonnes recopiées en double")
            << "x;" + kModalites + ";x\n1;" + c + ";2\n"
            << "x;" + kModalites + ";x;gir;sous_groupe\n1;" + c + ";2;1;\n";
        QTest::newRow("lignes vides") << kModalites + "\n\n" + a + "\n\n"
                                      << kModalites + ";gir;sous_groupe\n" + a + ";6;A\n";
    }
    void formesDeFichier()
    {
        QFETCH(QByteArray, entree);
        QFETCH(QByteArray, attendue);
        for (std::size_t morceau : {std::size_t(1), std::size_t(7), std::size_t(1) << 20}) {
            const Resultat r = csv(entree, morceau);
            QVERIFY2(r.statut == 0, qPrintable(r.erreurs.join('\n')));
            QCOMPARE(r.sortie, attendue);
        }
    }

    // A row mode file scored again keeps one set of computed columns.
    void recalculEnModeLignes()
    {
        const QByteArray l = "F;F;NS;N;F;F;F;F;F;F;F;F;F;F;F;F;F;F;F;F;F;F;F;F";
        const Resultat une = csv(kLignes + "\n" + l + "\n");
        const Resultat deux = csv(une.sortie);
        QCOMPARE(deux.statut, 0);
        QCOMPARE(deux.sortie, une.sortie);
    }

    // Bad lines are reported and written with empty results; an unclosed
    // quote costs its own line only.
    void lignesFautives_data()
    {
        QTest::addColumn<QByteArray>("ligne");
        QTest::addColumn<QString>("message");
        QTest::newRow("lettre inconnue")
            << QByteArray("A;A;A;D;A;A;A;A;A;A") << "ligne 2, colonne \"habillage\" : valeur \"D\" invalide";
        QTest::newRow("deux lettres") << QByteArray("A;A;A;AB;A;A;A;A;A;A")
                                      << "ligne 2, colonne \"habillage\" : valeur \"AB\" invalide";
        QTest::newRow("cellule vide")
            << QByteArray("A;A;;A;A;A;A;A;A;A") << "ligne 2, colonne \"toilette\" : cellule vide";
        QTest::newRow("colonnes") << QByteArray("A;A;A") << "ligne 2 : 3 colonne(s) au lieu de 10";
        QTest::newRow("colonne de trop")
            << QByteArray("A;A;A;A;A;A;A;A;A;A;A") << "ligne 2 : 11 colonne(s) au lieu de 10";
        QTest::newRow("guillemet non fermé") << QByteArray("A;\"A;A;A;A;A;A;A;A;A")
                                             << "ligne 2, colonne \"orientation\" : un guillemet ouvert";
    }
    void lignesFautives()
    {
        QFETCH(QByteArray, ligne);
        QFETCH(QString, message);
        const Resultat r = csv(kModalites + "\n" + ligne + "\nC;C;C;C;C;C;C;C;C;C\n");
        QCOMPARE(r.statut, 2);
        QCOMPARE(r.erreurs.size(), 1);
        QVERIFY2(r.erreurs.front().contains(message), qPrintable(r.erreurs.front()));
        QCOMPARE(r.sortie, kModalites + ";gir;sous_groupe\n" + ligne + ";;\nC;C;C;C;C;C;C;C;C;C;1;\n");
    }

    // A quote still open 64 KiB on is left unclosed: the lines after it are records.
    void guillemetFermeTropLoin()
    {
        const Resultat r = csv(kModalites + "\nA;\"A;A;A;A;A;A;A;A;A\n" +
                               QByteArray("C;C;C;C;C;C;C;C;C;C\n").repeated(4000) + "C\";C\n");
        QCOMPARE(r.sortie.count(";1;\n"), 4000);
        QVERIFY(r.erreurs.front().contains("ligne 2, colonne \"orientation\" : un guillemet ouvert"));
    }

    void entetesRefuses_data()
    {
        QTest::addColumn<QByteArray>("entete");
        QTest::addColumn<QString>("message");
        QTest::newRow("vide") << QByteArray() << "entrée vide";
        QTest::newRow("incomplet") << QByteArray("coherence;orientation") << "il manque : toilette";
        QTest::newRow("colonne lue deux fois") << kModalites + ";toilette"
                                               << "la colonne \"toilette\" apparaît 2 fois";
        QTest::newRow("gir deux fois") << kModalites + ";gir;gir"
                                       << "la colonne \"gir\" apparaît 2 fois";
        QTest::newRow("les deux formes") << kModalites + ";" + kLignes << "à la fois";
    }
    void entetesRefuses()
    {
        QFETCH(QByteArray, entete);
        QFETCH(QString, message);
        const Resultat r = csv(entete.isEmpty() ? QByteArray() : entete + "\nA\n");
        QCOMPARE(r.statut, 2);
        QVERIFY(r.sortie.isEmpty());
        QVERIFY2(r.erreurs.join('|').contains(message), qPrintable(r.erreurs.join('|')));
    }

    // Evaluations in the exchange format, one per line.
    void jsonLines()
    {
        Evaluation e;
        e.evaluateur = "Claire; \"C\"";
        e.lignes.fill({Choix::Fait, {}});
        e.ligne("ToiletteH") = {Choix::NeFaitPas, {true, false, true, false}};
        ResultatsEvaluation r = ResultatsEvaluation::calculer(e, essai::tablesPubliees());
        QByteArray entree = QByteArray::fromStdString(FormatEvaluation::ecrire(e, r, true)) + "\n";
        entree += "{\"format\":\"pavonis-evaluation\"}\n\n";
        r.gir = 6; // a wrong GIR in the file: warned of, recomputed
        entree += QByteArray::fromStdString(FormatEvaluation::ecrire(e, r, false)).replace('\n', ' ') + "\n";
        // A row nobody answered, with an adverb ticked: written, not scored.
        e.ligne("Cuisine") = {Choix::Aucun, {true, false, false, false}};
        entree += QByteArray::fromStdString(FormatEvaluation::ecrire(e, r, true)) + "\n";
        const Resultat s = scorer<ScoreurJsonl>(*table_, entree, 5);
        QCOMPARE(s.statut, 2);
        const QByteArray cellules = "F;F;NSC;F;F;F;F;F;F;F;F;F;F;F;F;F;F;F;F;F;F;F;F;F;B;A;A;A;A;A;5;A\n";
        QCOMPARE(s.sortie.split('\n'),
                 ("evaluateur;beneficiaire;date;" + kLignes +
                  ";toilette;elimination;habillage;alimentation;orientation;coherence;gir;sous_groupe\n"
                  "\"Claire; \"\"C\"\"\";;;" +
                  cellules + "\"Claire; \"\"C\"\"\";;;" + cellules +
                  "\"Claire; \"\"C\"\"\";;;F;F;NSC;F;F;F;F;F;F;S;F;F;F;F;F;F;F;F;F;F;F;F;F;F;;;;;;;;\n")
                     .split('\n'));
        QCOMPARE(s.erreurs,
                 QStringList({"ligne 2, /version : membre manquant",
                              "ligne 4, avertissement : /resultats/gir : 6 dans le fichier, 5 recalculé.",
                              "ligne 5 : lignes sans réponse : Cuisine ; évaluation non calculée."}));
    }

    // The program: options, exit statuses, the summary and its GMP.
    void programme_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("entree");
        QTest::addColumn<int>("statut");
        QTest::addColumn<QString>("sortieErreur");
        const QByteArray trois =
            kModalites + "\nC;C;C;C;C;C;C;C;C;C\nA;A;A;A;A;A;A;A;A;A\nA;A;A;A;A;A;A;A;A;A\nX\n";
        QTest::newRow("synthèse")
            << QStringList{"--synthese"} << trois << 2
            << "Personnes évaluées : 3\nGIR 1 : 1\nGIR 2 : 0\nGIR 3 : 0\nGIR 4 : 0\nGIR 5 : 0\nGIR 6 : 2\n"
               "Lignes non calculées : 1\nGMP (GIR moyen pondéré) : 380,00";
        QTest::newRow("synthèse vide") << QStringList{"--synthese"} << kModalites + "\n"
                                       << 0 << "non calculable";
        QTest::newRow("paramètres vides")
            << QStringList{"--parametres="} << trois << 2 << "--parametres attend un nom de fichier";
        QTest::newRow("format inconnu") << QStringList{"--format", "xml"} << trois << 2 << "csv ou jsonl";
        QTest::newRow("magasin absent")
            << QStringList{"--parametres", "/nulle/part.sqlite"} << trois << 1 << "n'existe pas";
        // Lines in the compact form, each with one fault in a name: each
        // costs itself alone (and the program ends: a minute at most).
        Evaluation e;
        e.lignes.fill({Choix::Fait, {}});
        const QByteArray bonne = QByteArray::fromStdString(
            FormatEvaluation::ecrire(e, ResultatsEvaluation::calculer(e, essai::tablesPubliees()), true));
        QByteArray lignes = bonne + '\n';
        for (const QByteArray& nom : {QByteArray("L\xe9on"), QByteArray("\x01"), QByteArray("\\q"),
                                      QByteArray("\\ud800"), QByteArray("\xed\xa0\x80")})
            lignes +=
                QByteArray(bonne).replace("\"evaluateur\":\"\"", "\"evaluateur\":\"" + nom + '"') + '\n';
        QTest::newRow("lignes mal codées")
            << QStringList{"--format", "jsonl", "--synthese"} << lignes + bonne << 2
            << "Personnes évaluées : 2\nGIR 1 : 0\nGIR 2 : 0\nGIR 3 : 0\nGIR 4 : 0\n"
               "GIR 5 : 0\nGIR 6 : 2\nLignes non calculées : 5\n";
    }
    void programme()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, entree);
        QFETCH(int, statut);
        QFETCH(QString, sortieErreur);
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_DATA_HOME", dossier_.path());
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(PAVONIS_GIR), arguments);
        p.write(entree);
        p.closeWriteChannel();
        QVERIFY(p.waitForFinished(30000));
        const QString erreurs = QString::fromUtf8(p.readAllStandardError());
        QCOMPARE(p.exitCode(), statut);
        QVERIFY2(erreurs.contains(sortieErreur), qPrintable(erreurs));
    }

    // A store with the weight tables alone is enough.
    void magasinSansRepertoire()
    {
        const QString f = dossier_.filePath("poids.sqlite");
        MagasinParametres::ouvrir(f.toStdString(), "/x/data/")
            ->executer("DELETE FROM sections WHERE nom = 'CHEMINFICHIER';");
        QProcess p;
        p.start(QStringLiteral(PAVONIS_GIR), {"--parametres", f});
        p.write(kModalites + "\nA;A;A;A;A;A;A;A;A;A\n");
        p.closeWriteChannel();
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(p.exitCode(), 0);
        QVERIFY(p.readAllStandardOutput().endsWith(";6;A\n"));
    }
};

QTEST_GUILESS_MAIN(TestPavonisGir)
#include "tst_pavonis_gir.moc"
