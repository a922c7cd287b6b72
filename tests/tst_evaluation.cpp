// The evaluation as data: its rules, its results beside the screen's
// engine, the exchange format (written, read, refused) and the FHIR
// response, checked against the published JSON schema and the official
// FHIR R4 schema by the validators of tests/json.

#include "OutilsEssai.h"
#include "TablesEssai.h"
#include <pavonis/engine/GrilleMemoire.h>
#include <pavonis/engine/MoteurAggir.h>

#include <pavonis/evaluation/FormatEvaluation.h>
#include <pavonis/evaluation/ReponseFhir.h>
#include <pavonis/hostapi/Erreur.h>

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <random>

using namespace pavonis;
using namespace pavonis::essai;

namespace {

// A state the screen can reach, drawn at random.
Evaluation auHasard(std::mt19937& alea)
{
    Evaluation e;
    e.evaluateur = "Claire \"Clé\" Dupuis\\";
    e.beneficiaire = alea() % 2 ? "Zoé Ørsted 😀" : "";
    e.date = alea() % 2 ? "05/12/2026" : "31/02/2026";
    for (ReponseLigne& l : e.lignes) {
        l.choix = Choix(alea() % 3);
        if (l.choix != Choix::Fait)
            for (bool& a : l.adverbes)
                a = alea() % 2;
        if (l.adverbes == std::array<bool, 4>{true, true, true, true})
            l.adverbes[alea() % 4] = false;
    }
    return e;
}

// Runs Node.js in tests/json: its output; `reussi` tells whether it ended well.
QString node(const QStringList& arguments, bool* reussi = nullptr)
{
    QProcess p;
    p.setWorkingDirectory(QStringLiteral(PAVONIS_TESTS_JSON));
    p.start(QStringLiteral("node"), arguments);
    const bool fini = p.waitForFinished(60000);
    if (reussi)
        *reussi = fini && p.exitCode() == 0;
    return fini ? QString::fromUtf8(p.readAll()) : QStringLiteral("node ne répond pas");
}

// A validator of tests/json: its output on failure.
QString valider(const QStringList& arguments)
{
    bool reussi = false;
    const QString sortie = node(arguments, &reussi);
    return reussi ? QString() : sortie;
}

const QString kFhir = QStringLiteral(PAVONIS_FHIR);

} // namespace

class TestEvaluation : public QObject {
    Q_OBJECT

    ResultatsEvaluation::Tables tables_ = essai::tablesPubliees();
    QTemporaryDir dossier_;

private slots:
    void etatsInatteignables_data()
    {
        QTest::addColumn<QString>("cle");
        QTest::addColumn<int>("choix");
        QTest::addColumn<QString>("adverbes");
        QTest::addColumn<QString>("message");
        QTest::newRow("adverbe sur Fait") << "ToiletteH" << int(Choix::Fait) << "S"
                                          << "« ToiletteH »";
        QTest::newRow("quatre adverbes") << "Gestion" << int(Choix::NeFaitPas) << "STCH"
                                         << "quatre adverbes";
        QTest::newRow("quatre, sans choix") << "Label7" << int(Choix::Aucun) << "STCH"
                                            << "inconnue : « Label7 »";
    }
    void etatsInatteignables()
    {
        QFETCH(QString, cle);
        QFETCH(int, choix);
        QFETCH(QString, adverbes);
        QFETCH(QString, message);
        const QString m = erreurDe([&] {
            Evaluation e;
            ReponseLigne& l = e.ligne(cle.toStdString());
            l.choix = Choix(choix);
            for (QChar a : adverbes)
                l.adverbes[std::size_t(QStringLiteral("STCH").indexOf(a))] = true;
            e.verifier();
        });
        QVERIFY2(m.contains(message), qPrintable(m));
    }

    // The results of the library are those of the screen's engine, row by
    // row, for any reachable evaluation.
    void resultatsCommeLEcran()
    {
        std::mt19937 alea(3);
        for (int n = 0; n < 300; ++n) {
            const Evaluation e = auHasard(alea);
            GrilleMemoire g;
            std::shared_ptr<IEntreeParametre> travail;
            TablesGroupes tables = tables_;
            MoteurAggir moteur(g, tables, travail, essai::FabriqueComptee{}.fabrique());
            g.definirGestionnaireClic([&](std::size_t l) { moteur.CalculerNote(l); });
            for (std::size_t l = 0; l < e.lignes.size(); ++l) {
                if (e.lignes[l].choix == Choix::Fait)
                    g.cliquerFait(l);
                else if (e.lignes[l].choix == Choix::NeFaitPas)
                    g.cliquerFaitPas(l);
                for (Adverbe a : {Adverbe::S, Adverbe::T, Adverbe::C, Adverbe::H})
                    if (e.lignes[l].adverbes[std::size_t(a)])
                        g.cliquerCase(l, a);
                moteur.CalculerNote(l);
            }
            const ResultatsEvaluation r = ResultatsEvaluation::calculer(e, tables_);
            for (std::size_t l = 0; l < e.lignes.size(); ++l)
                QCOMPARE(QString(r.notesLignes[l]), QString::fromStdString(g.note(l)));
            for (std::size_t k = 0; k < 6; ++k)
                QCOMPARE(QString(r.notesComposees[k]),
                         QString::fromStdString(g.noteDe(std::array{3, 4, 5, 7, 16, 17}[k])));
            QCOMPARE(QString::number(r.gir) + (r.sousGroupe ? QString(r.sousGroupe) : QString()),
                     QString::fromStdString(g.groupe() + g.sousGroupe()));
        }
    }

    // Written then read, indented or on one line: the same evaluation, and
    // results that agree.
    void allerRetourJson()
    {
        std::mt19937 alea(11);
        for (int n = 0; n < 500; ++n) {
            const Evaluation e = auHasard(alea);
            const ResultatsEvaluation r = ResultatsEvaluation::calculer(e, tables_);
            for (bool uneLigne : {false, true}) {
                const std::string json = FormatEvaluation::ecrire(e, r, uneLigne);
                QVERIFY(!uneLigne || json.find('\n') >= json.size() - 1); // a line end, if any, closes it
                const auto lu = FormatEvaluation::lire(json);
                QVERIFY(lu.evaluation == e);
                QVERIFY(lu.resultats && *lu.resultats == r);
                QVERIFY(FormatEvaluation::ecarts(*lu.resultats, r).empty());
            }
        }
    }

    // What the reader refuses, named by its JSON path.
    void refus_data()
    {
        QTest::addColumn<QByteArray>("avant");
        QTest::addColumn<QByteArray>("apres");
        QTest::addColumn<QString>("message");
        QTest::newRow("quatrième adverbe")
            << QByteArray(R"("ToiletteH": {"choix": "ne-fait-pas", "adverbes": ["S"]})")
            << QByteArray(R"("ToiletteH": {"choix": "ne-fait-pas", "adverbes": ["S", "T", "C", "H"]})")
            << "/lignes/ToiletteH/adverbes/3 : quatrième adverbe";
        QTest::newRow("adverbe inconnu")
            << QByteArray(R"("adverbes": ["S"])") << QByteArray(R"("adverbes": ["S", "X"])")
            << "/lignes/ToiletteH/adverbes/1 : adverbe « X » inconnu";
        QTest::newRow("adverbe en double")
            << QByteArray(R"("adverbes": ["S"])") << QByteArray(R"("adverbes": ["S", "S"])")
            << "/lignes/ToiletteH/adverbes/1 : adverbe « S » en double";
        QTest::newRow("adverbes sur Fait")
            << QByteArray(R"("Transferts": {"choix": "fait"})")
            << QByteArray(R"("Transferts": {"choix": "fait", "adverbes": ["T"]})")
            << "/lignes/Transferts/adverbes : des adverbes";
        QTest::newRow("choix inconnu") << QByteArray(R"("Transferts": {"choix": "fait"})")
                                       << QByteArray(R"("Transferts": {"choix": "oui"})")
                                       << "/lignes/Transferts/choix : choix « oui » inconnu";
        QTest::newRow("ligne inconnue") << QByteArray(R"("Transferts": {"choix": "fait"})")
                                        << QByteArray(R"("Transfert": {"choix": "fait"})")
                                        << "/lignes/Transfert : ligne d'évaluation inconnue";
        QTest::newRow("ligne manquante") << QByteArray(R"("Transferts": {"choix": "fait"},)") << QByteArray()
                                         << "/lignes : il manque « Transferts »";
        QTest::newRow("membre en double")
            << QByteArray(R"("evaluateur": "Claire Dupuis",)")
            << QByteArray(R"("evaluateur": "Claire Dupuis", "evaluateur": "X",)")
            << "/evaluateur : membre en double";
        QTest::newRow("membre inconnu")
            << QByteArray(R"("version": 1,)") << QByteArray(R"("version": 1, "auteur": "X",)")
            << "/auteur : membre inconnu";
        QTest::newRow("version") << QByteArray(R"("version": 1,)") << QByteArray(R"("version": 2,)")
                                 << "/version : version 2 inconnue";
        QTest::newRow("version décimale")
            << QByteArray(R"("version": 1,)") << QByteArray(R"("version": 1.5,)")
            << "/version : nombre entier attendu";
        // A whole number written with a fraction of zero is one, as JSON Schema says.
        QTest::newRow("version 1.0 acceptée")
            << QByteArray(R"("version": 1,)") << QByteArray(R"("version": 1.0,)") << "";
        QTest::newRow("GIR 5.0 accepté") << QByteArray(R"("gir": 5)") << QByteArray(R"("gir": 5.0)") << "";
        QTest::newRow("nom échappé en double")
            << QByteArray(R"("Transferts": {"choix": "fait"},)")
            << QByteArray(R"("Transferts": {"choix": "fait"}, "Transferts": {"choix": "fait"},)")
            << "/lignes/Transferts : membre en double";
        QTest::newRow("format") << QByteArray(R"("pavonis-evaluation")") << QByteArray(R"("autre")")
                                << "/format : ce n'est pas une évaluation";
        QTest::newRow("UTF-8") << QByteArray(R"("Claire Dupuis")") << QByteArray("\"Claire \xC3\x28\"")
                               << "/evaluateur : texte qui n'est pas en UTF-8";
        QTest::newRow("demi-caractère")
            << QByteArray(R"("Claire Dupuis")") << QByteArray(R"("\ud83d")")
            << "/evaluateur : texte mal formé (échappement inconnu, ou demi-caractère UTF-16";
        QTest::newRow("GIR hors limites") << QByteArray(R"("gir": 5)") << QByteArray(R"("gir": 7)")
                                          << "/resultats/gir : GIR 7 hors de 1 à 6";
        QTest::newRow("GIR 0") << QByteArray(R"("gir": 5)") << QByteArray(R"("gir": 0)")
                               << "/resultats/gir : GIR 0 hors de 1 à 6";
        QTest::newRow("modalité D") << QByteArray(R"("Transferts": "A")")
                                    << QByteArray(R"("Transferts": "D")")
                                    << "/resultats/lignes/Transferts : modalité « D » inconnue";
        QTest::newRow("sans lignes") << QByteArray()
                                     << QByteArray(R"({"format": "pavonis-evaluation", "version": 1})")
                                     << "/lignes : membre manquant";
        QTest::newRow("GIR 5 sans sous-groupe")
            << QByteArray(R"("sous_groupe": "A")") << QByteArray(R"("sous_groupe": null)")
            << "/resultats/sous_groupe : un sous-groupe accompagne";
        QTest::newRow("tronqué") << QByteArray("\n}\n") << QByteArray() << "/ : JSON mal formé";
        QTest::newRow("texte après") << QByteArray("\n}\n") << QByteArray("\n} {}")
                                     << "/ : texte après la fin de l'évaluation";
        QTest::newRow("caractère de contrôle")
            << QByteArray(R"("Claire Dupuis")") << QByteArray("\"Claire\x01\"")
            << "/evaluateur : caractère de contrôle dans un texte";
        QTest::newRow("bénéficiaire en Latin-1")
            << QByteArray(R"("beneficiaire": "")") << QByteArray("\"beneficiaire\": \"L\xe9on\"")
            << "/beneficiaire : texte qui n'est pas en UTF-8";
    }
    void refus()
    {
        QFETCH(QByteArray, avant);
        QFETCH(QByteArray, apres);
        QFETCH(QString, message);
        Evaluation e;
        e.evaluateur = "Claire Dupuis";
        e.lignes.fill({Choix::Fait, {}});
        e.ligne("ToiletteH") = {Choix::NeFaitPas, {true, false, false, false}};
        // With nothing to replace, the text is `apres` alone.
        std::string json = avant.isEmpty()
                               ? std::string()
                               : FormatEvaluation::ecrire(e, ResultatsEvaluation::calculer(e, tables_));
        const std::string a = avant.toStdString();
        QVERIFY2(json.find(a) != std::string::npos, a.c_str());
        json.replace(json.rfind(a), a.size(), apres.toStdString());
        const QString m = erreurDe([&] { FormatEvaluation::lire(json); });
        QVERIFY2(message.isEmpty() ? m.isEmpty() : m.contains(message), qPrintable(m));
    }

    // Evaluations mutated at random, each with the verdict of a reader that
    // is not ours (tests/json/generer-differentiel.py): the same verdict.
    void differentiel()
    {
        const QStringList lignes = donnee("differentiel.tsv").split('\n', Qt::SkipEmptyParts).mid(1);
        QVERIFY(lignes.size() > 100);
        for (qsizetype i = 0; i < lignes.size(); ++i) {
            const QByteArray json = QByteArray::fromBase64(lignes[i].section('\t', 1).toLatin1());
            const QString m = erreurDe([&] { FormatEvaluation::lire(json.toStdString()); });
            QVERIFY2(m.isEmpty() == (lignes[i].section('\t', 0, 0) == "accepte"),
                     qPrintable(QString("ligne %1 : %2").arg(i + 2).arg(m.isEmpty() ? "acceptée" : m)));
        }
    }

    // The general reader takes any spacing and escapes; results that differ
    // from the recomputed ones are named, and the recomputed ones stand.
    void lectureGeneraleEtEcarts()
    {
        const std::string json = R"({ "lignes" : {)" +
                                 [] {
                                     std::string l;
                                     for (std::size_t i = 0; i < Evaluation::kNbLignes; ++i)
                                         l += (i ? ",\n" : "") + std::string("\"") +
                                              std::string(Evaluation::cle(i)) +
                                              "\":{\"adverbes\":[\"H\",\"S\"],\"choix\":\"aucun\"}";
                                     return l;
                                 }() +
                                 "}, \"version\":1, \"format\":\"pavonis-evaluation\", "
                                 "\"beneficiaire\":\"Z\\u00e9o \\ud83d\\ude00 \\\"x\\\"\\n\"}";
        const auto lu = FormatEvaluation::lire(json);
        QCOMPARE(QString::fromStdString(lu.evaluation.beneficiaire), QString::fromUtf8("Zéo 😀 \"x\"\n"));
        QVERIFY(!lu.resultats);
        const ReponseLigne attendue{Choix::Aucun, {true, false, false, true}};
        QVERIFY(lu.evaluation.ligne("Achats") == attendue);
        ResultatsEvaluation r = ResultatsEvaluation::calculer(lu.evaluation, tables_);
        ResultatsEvaluation faux = r;
        faux.gir = r.gir == 3 ? 4 : 3;
        faux.notesLignes[2] = r.notesLignes[2] == 'A' ? 'C' : 'A';
        const std::vector<std::string> ecarts = FormatEvaluation::ecarts(faux, r);
        QCOMPARE(ecarts.size(), 2u);
        QVERIFY(QString::fromStdString(ecarts[0]).startsWith("/resultats/lignes/ToiletteH : "));
        QVERIFY(QString::fromStdString(ecarts[1]).contains(
            QStringLiteral("/resultats/gir : %1 dans le fichier, %2 recalculé").arg(faux.gir).arg(r.gir)));
    }

    // Names holding every control character, a quote and a backslash, as
    // the exchange format and the FHIR response write them, read back by
    // another JSON reader (Node's) character for character.
    void textesRelusParUnAutreLecteur()
    {
        std::string nom;
        for (char c = 0; c < 0x20; ++c)
            nom += c;
        nom += "\"\\ é😀";
        Evaluation e = auHasard(*std::make_unique<std::mt19937>(3));
        e.evaluateur = nom;
        e.beneficiaire = "😀 \\\"" + std::string(nom.rbegin() + 10, nom.rend()); // the controls, backwards
        const ResultatsEvaluation r = ResultatsEvaluation::calculer(e, tables_);
        const QStringList fichiers{dossier_.filePath("n1.json"), dossier_.filePath("n2.json"),
                                   dossier_.filePath("n3.json")};
        ecrireFichier(fichiers[0], QByteArray::fromStdString(FormatEvaluation::ecrire(e, r)));
        ecrireFichier(fichiers[1], QByteArray::fromStdString(FormatEvaluation::ecrire(e, r, true)));
        ecrireFichier(fichiers[2], QByteArray::fromStdString(ReponseFhir::ecrire(e, r)));
        const auto points = [](const std::string& s) {
            QStringList p;
            for (char32_t c : QString::fromStdString(s).toUcs4())
                p << QString::number(c, 16);
            return p.join(' ');
        };
        const QString attendu = points(e.evaluateur) + '|' + points(e.beneficiaire) + '\n';
        const QString lu = node(
            QStringList{"-e",
                        "for (const f of process.argv.slice(1)) { const d = "
                        "JSON.parse(require('fs').readFileSync(f, 'utf8'));"
                        " const n = [d.evaluateur ?? d.author.display, d.beneficiaire ?? d.subject.display];"
                        " console.log(n.map(t => [...t].map(c => c.codePointAt(0).toString(16)).join(' "
                        "')).join('|')); }"} +
            fichiers);
        QCOMPARE(lu, attendu + attendu + attendu);
    }

    // The written JSON follows its published schema; a wrong one does not.
    void schemaPublie()
    {
        std::mt19937 alea(5);
        QStringList fichiers;
        for (int n = 0; n < 6; ++n) {
            const Evaluation e = auHasard(alea);
            const QString f = dossier_.filePath(QStringLiteral("e%1.json").arg(n));
            QFile sortie(f);
            QVERIFY(sortie.open(QIODevice::WriteOnly));
            sortie.write(QByteArray::fromStdString(
                FormatEvaluation::ecrire(e, ResultatsEvaluation::calculer(e, tables_), n % 2)));
            sortie.close();
            fichiers << f;
        }
        const QString schema = QStringLiteral(PAVONIS_SCHEMA);
        QCOMPARE(valider(QStringList{"valider-schema.mjs", schema} + fichiers), QString());
        QFile faux(dossier_.filePath("faux.json"));
        QVERIFY(faux.open(QIODevice::WriteOnly));
        faux.write(R"({"format":"pavonis-evaluation","version":1,"lignes":{}})");
        faux.close();
        QVERIFY(!valider({"valider-schema.mjs", schema, faux.fileName()}).isEmpty());
    }

    // The FHIR responses validate against the official schema and match the
    // shipped questionnaire, linkIds, types and answer options.
    void reponsesFhir()
    {
        std::mt19937 alea(9);
        QStringList reponses;
        for (int n = 0; n < 8; ++n) {
            Evaluation e = auHasard(alea);
            if (n == 0)
                e.lignes.fill({Choix::NeFaitPas, {}}); // GIR 1, no sub-group
            const ResultatsEvaluation r = ResultatsEvaluation::calculer(e, tables_);
            const std::string fhir = ReponseFhir::ecrire(e, r);
            QCOMPARE(fhir.find("\"authored\":\"2026-12-05\"") != std::string::npos, e.date == "05/12/2026");
            QCOMPARE(fhir.find("\"subject\"") != std::string::npos, !e.beneficiaire.empty());
            const QString f = dossier_.filePath(QStringLiteral("qr%1.json").arg(n));
            QFile sortie(f);
            QVERIFY(sortie.open(QIODevice::WriteOnly));
            sortie.write(QByteArray::fromStdString(fhir));
            reponses << f;
        }
        QCOMPARE(valider(QStringList{"valider-fhir.mjs", kFhir + "/questionnaire-aggir-2008.json"} +
                         reponses +
                         QStringList{"--ressource", kFhir + "/codesystem-aggir-choix.json",
                                     kFhir + "/codesystem-aggir-adverbes.json",
                                     kFhir + "/codesystem-aggir-modalites.json"}),
                 QString());
    }
};

QTEST_GUILESS_MAIN(TestEvaluation)
#include "tst_evaluation.moc"
