// The evaluation as data: its rules, its results beside the screen's engine, the exchange format and the FHIR
// response as other readers read them.

#include "OutilsEssai.h"
#include "TablesEssai.h"
#include <pavonis/engine/GrilleMemoire.h>
#include <pavonis/engine/MoteurAggir.h>

#include <pavonis/evaluation/FormatEvaluation.h>
#include <pavonis/evaluation/ReponseFhir.h>
#include <pavonis/hostapi/Erreur.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMultiMap>
#include <QTemporaryDir>
#include <QTest>

#include <random>

using namespace pavonis;
using namespace pavonis::essai;

namespace {

// A state the screen can reach, drawn at random; the evaluator's name holds every control character, a quote
// and a backslash.
Evaluation auHasard(std::mt19937& alea)
{
    Evaluation e;
    for (char c = 0; c < 0x20; ++c)
        e.evaluateur += c;
    e.evaluateur += "Claire \"Clé\" Dupuis\\";
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

// The row rule as the grid states it: "Fait" is A; otherwise C with none or all four adverbs unmet, B with
// one to three.
char modalite(const ReponseLigne& l)
{
    const auto n = std::count(l.adverbes.begin(), l.adverbes.end(), true);
    return l.choix == Choix::Fait ? 'A' : n == 0 || n == 4 ? 'C' : 'B';
}

const QString kSystemes = QStringLiteral("https://fhir.pavonis.fr/CodeSystem/aggir-");
const char* const kChoix[] = {"aucun", "fait", "ne-fait-pas"};
const char* const kCodesChoix[] = {"", "choix:fait|Fait", "choix:ne-fait-pas|Ne fait pas"};
const char* const kCodesAdverbes[] = {"adverbes:S|Spontanément", "adverbes:T|Totalement",
                                      "adverbes:C|Correctement", "adverbes:H|Habituellement"};
const char* const kComposees[] = {"toilette",     "elimination", "habillage",
                                  "alimentation", "orientation", "coherence"};

// Every answer of a QuestionnaireResponse by linkId: "system:code|display" (the system after
// ".../CodeSystem/aggir-") or a number.
void reponses(const QJsonArray& items, QMultiMap<QString, QString>& r)
{
    for (const QJsonValue& v : items) {
        const QJsonObject item = v.toObject();
        for (const QJsonValue& a : item["answer"].toArray()) {
            const QJsonObject c = a["valueCoding"].toObject();
            r.insert(item["linkId"].toString(), c.isEmpty() ? QString::number(a["valueInteger"].toInt())
                                                            : c["system"].toString().remove(kSystemes) + ':' +
                                                                  c["code"].toString() + '|' +
                                                                  c["display"].toString());
        }
        reponses(item["item"].toArray(), r);
    }
}

} // namespace

class TestEvaluation : public QObject {
    Q_OBJECT

    ResultatsEvaluation::Tables tables_ = essai::tablesDuDecret();
    QTemporaryDir dossier_;

private slots:
    void etatsInatteignables_data()
    {
        colonnes<QString, int, QString, QString>(); // row, choice, adverbs, message
        QTest::newRow("adverbe sur Fait") << "ToiletteH" << int(Choix::Fait) << "S"
                                          << "« ToiletteH »";
        QTest::newRow("quatre adverbes") << "Gestion" << int(Choix::NeFaitPas) << "STCH"
                                         << "quatre adverbes";
        QTest::newRow("ligne inconnue") << "Label7" << int(Choix::Aucun) << "STCH"
                                        << "inconnue : « Label7 »";
    }
    void etatsInatteignables()
    {
        const auto [cle, choix, adverbes, message] = ligne<QString, int, QString, QString>();
        const QString m = erreurDe([&, cle = cle, choix = choix, &adverbes = adverbes] {
            Evaluation e;
            ReponseLigne& l = e.ligne(cle.toStdString());
            l.choix = Choix(choix);
            for (QChar a : adverbes)
                l.adverbes[std::size_t(QStringLiteral("STCH").indexOf(a))] = true;
            e.verifier();
        });
        QVERIFY2(m.contains(message), qPrintable(m));
    }

    // The library's results are the screen engine's, row by row, and its JSON reads back equal, indented or
    // on one line.
    void commeLEcranEtAllerRetour()
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
                if (e.lignes[l].choix != Choix::Aucun)
                    e.lignes[l].choix == Choix::Fait ? g.cliquerFait(l) : g.cliquerFaitPas(l);
                for (Adverbe a : {Adverbe::S, Adverbe::T, Adverbe::C, Adverbe::H})
                    if (e.lignes[l].adverbes[std::size_t(a)])
                        g.cliquerCase(l, a);
                moteur.CalculerNote(l);
            }
            const ResultatsEvaluation r = ResultatsEvaluation::calculer(e, tables_);
            for (std::size_t l = 0; l < e.lignes.size(); ++l)
                QCOMPARE(r.notesLignes[l], g.note(l).front());
            for (std::size_t k = 0; k < 6; ++k)
                QCOMPARE(r.notesComposees[k], g.noteDe(std::array{3, 4, 5, 7, 16, 17}[k]).front());
            QCOMPARE(std::to_string(r.gir) + (r.sousGroupe ? std::string(1, r.sousGroupe) : ""),
                     g.groupe() + g.sousGroupe());
            for (bool uneLigne : {false, true}) {
                const std::string json = FormatEvaluation::ecrire(e, r, uneLigne);
                QVERIFY(!uneLigne || json.find('\n') >= json.size() - 1);
                const auto lu = FormatEvaluation::lire(json);
                QVERIFY(lu.evaluation == e && lu.resultats && *lu.resultats == r);
            }
        }
    }

    // Both formats, read by other readers: Ajv against the published schema and FHIR R4's, then Qt's JSON,
    // value by value against the evaluation.
    void sortiesLuesAilleurs()
    {
        std::mt19937 alea(9);
        QStringList echanges, fhir;
        for (int n = 0; n < 8; ++n) {
            Evaluation e = auHasard(alea);
            if (n < 2) // GIR 1, no sub-group; GIR 6 with one
                e.lignes.fill({n ? Choix::Fait : Choix::NeFaitPas, {}});
            const ResultatsEvaluation r = ResultatsEvaluation::calculer(e, tables_);
            echanges << dossier_.filePath(QStringLiteral("e%1.json").arg(n));
            fhir << dossier_.filePath(QStringLiteral("qr%1.json").arg(n));
            ecrireFichier(echanges.back(), QByteArray::fromStdString(FormatEvaluation::ecrire(e, r, n % 2)));
            ecrireFichier(fhir.back(), QByteArray::fromStdString(ReponseFhir::ecrire(e, r)));

            const QJsonObject x = QJsonDocument::fromJson(lireFichier(echanges.back())).object();
            QCOMPARE(x["evaluateur"].toString().toStdString(), e.evaluateur);
            QCOMPARE(x["beneficiaire"].toString().toStdString(), e.beneficiaire);
            QCOMPARE(x["date"].toString().toStdString(), e.date);
            const QJsonObject q = QJsonDocument::fromJson(lireFichier(fhir.back())).object();
            QCOMPARE(
                q["resourceType"].toString() + ' ' + q["status"].toString() + ' ' +
                    q["questionnaire"].toString(),
                "QuestionnaireResponse completed https://fhir.pavonis.fr/Questionnaire/aggir-2008|1.0.0");
            QCOMPARE(q["authored"].toString(), e.date == "05/12/2026" ? "2026-12-05" : "");
            std::string auteur = e.evaluateur; // FHIR strings: no controls but tab, CR, LF
            for (char& c : auteur)
                c = (unsigned char)c < 0x20 && std::string_view("\t\r\n").find(c) == std::string_view::npos
                        ? ' '
                        : c;
            QCOMPARE(q["author"]["display"].toString().toStdString(), auteur);
            QCOMPARE(q["subject"]["display"].toString().toStdString(), e.beneficiaire);
            QMultiMap<QString, QString> rq;
            reponses(q["item"].toArray(), rq);
            for (std::size_t l = 0; l < e.lignes.size(); ++l) {
                const ReponseLigne& ligne = e.lignes[l];
                const QString cle = QString::fromUtf8(Evaluation::cle(l));
                const QJsonObject xl = x["lignes"][cle].toObject();
                QCOMPARE(xl["choix"].toString(), kChoix[int(ligne.choix)]);
                QStringList lettres, codes;
                for (std::size_t a = 0; a < 4; ++a)
                    if (ligne.adverbes[a]) {
                        lettres << QString("STCH"[a]);
                        codes << kCodesAdverbes[a];
                    }
                QCOMPARE(xl["adverbes"].toVariant().toStringList(), lettres);
                QCOMPARE(x["resultats"]["lignes"][cle].toString(), QString(modalite(ligne)));
                QCOMPARE(rq.values(cle + ".choix"), ligne.choix == Choix::Aucun
                                                        ? QStringList()
                                                        : QStringList{kCodesChoix[int(ligne.choix)]});
                QStringList lus = rq.values(cle + ".adverbes");
                std::reverse(lus.begin(), lus.end()); // QMultiMap keeps the last inserted first
                QCOMPARE(lus, codes);
                QCOMPARE(rq.values(cle + ".modalite"),
                         QStringList{"modalites:" + QString(2, modalite(ligne)).insert(1, '|')});
            }
            for (std::size_t k = 0; k < 6; ++k) {
                const QString m(r.notesComposees[k]);
                QCOMPARE(x["resultats"]["composees"][kComposees[k]].toString(), m);
                QCOMPARE(rq.values(QString(kComposees[k]) + ".modalite"),
                         QStringList{"modalites:" + m + '|' + m});
            }
            QCOMPARE(x["resultats"]["gir"].toInt(), r.gir);
            QCOMPARE(rq.values("gir"), QStringList{QString::number(r.gir)});
            const QString sg = r.sousGroupe ? QString(r.sousGroupe) : QString();
            QCOMPARE(x["resultats"]["sous_groupe"].toString(), sg);
            QCOMPARE(rq.values("sous-groupe"),
                     sg.isEmpty() ? QStringList() : QStringList{"modalites:" + sg + '|' + sg});
        }
        const QString fhirLivre = QStringLiteral(PAVONIS_FHIR "/"),
                      valider = PAVONIS_TESTS_JSON "/valider.mjs";
        for (const QStringList& v :
             {QStringList{valider, PAVONIS_SCHEMA} + echanges,
              QStringList{valider, "--fhir", fhirLivre + "questionnaire-aggir-2008.json",
                          fhirLivre + "codesystem-aggir-choix.json",
                          fhirLivre + "codesystem-aggir-adverbes.json",
                          fhirLivre + "codesystem-aggir-modalites.json"} +
                  fhir}) {
            const Execution x = lancer("node", v);
            QVERIFY2(x.code == 0, x.sortie + x.erreurs);
        }
        ecrireFichier(dossier_.filePath("faux.json"),
                      R"({"format":"pavonis-evaluation","version":1,"lignes":{}})");
        QCOMPARE(lancer("node", {valider, PAVONIS_SCHEMA, dossier_.filePath("faux.json")}).code, 1);
    }

    // What the reader refuses, named by its JSON path; `avant` is replaced by `apres` in a written evaluation
    // (empty `avant`: `apres` alone).
    void refus_data()
    {
        colonnes<QByteArray, QByteArray, QString>();
        const auto refus = [](const char* nom, const char* avant, const char* apres, const char* message) {
            QTest::newRow(nom) << QByteArray(avant) << QByteArray(apres) << QString::fromUtf8(message);
        };
        const char* toiletteH = R"("ToiletteH": {"choix": "ne-fait-pas", "adverbes": ["S"]})";
        refus("quatrième adverbe", toiletteH,
              R"("ToiletteH": {"choix": "ne-fait-pas", "adverbes": ["S", "T", "C", "H"]})",
              "/lignes/ToiletteH/adverbes/3 : quatrième adverbe");
        refus("adverbe inconnu", R"(["S"])", R"(["S", "X"])",
              "/lignes/ToiletteH/adverbes/1 : adverbe « X » inconnu");
        refus("adverbe en double", R"(["S"])", R"(["S", "S"])",
              "/lignes/ToiletteH/adverbes/1 : adverbe « S » en double");
        const char* transferts = R"("Transferts": {"choix": "fait"})";
        refus("adverbes sur Fait", transferts, R"("Transferts": {"choix": "fait", "adverbes": ["T"]})",
              "/lignes/Transferts/adverbes : des adverbes");
        refus("choix inconnu", transferts, R"("Transferts": {"choix": "oui"})",
              "/lignes/Transferts/choix : choix « oui » inconnu");
        refus("ligne inconnue", transferts, R"("Transfert": {"choix": "fait"})",
              "/lignes/Transfert : ligne d'évaluation inconnue");
        refus("ligne manquante", R"("Transferts": {"choix": "fait"},)", "",
              "/lignes : il manque « Transferts »");
        refus("ligne en double", R"("Transferts": {"choix": "fait"},)",
              R"("Transferts": {"choix": "fait"}, "Transferts": {"choix": "fait"},)",
              "/lignes/Transferts : membre en double");
        refus("membre en double", R"("evaluateur": "Claire Dupuis",)",
              R"("evaluateur": "Claire Dupuis", "evaluateur": "X",)", "/evaluateur : membre en double");
        refus("nom échappé en double", R"("evaluateur": "Claire Dupuis",)",
              R"("evaluateur": "Claire Dupuis", "\u0065valuateur": "X",)", "/evaluateur : membre en double");
        refus("membre inconnu", R"("version": 1,)", R"("version": 1, "auteur": "X",)",
              "/auteur : membre inconnu");
        refus("version", R"("version": 1,)", R"("version": 2,)", "/version : version 2 inconnue");
        refus("version décimale", R"("version": 1,)", R"("version": 1.5,)",
              "/version : nombre entier attendu");
        // A whole number written with a zero fraction is one, as JSON Schema says.
        refus("version 1.0 acceptée", R"("version": 1,)", R"("version": 1.0,)", "");
        refus("GIR 5.0 accepté", R"("gir": 5)", R"("gir": 5.0)", "");
        refus("format", R"("pavonis-evaluation")", R"("autre")", "/format : ce n'est pas une évaluation");
        refus("UTF-8", R"("Claire Dupuis")", "\"Claire \xC3\x28\"",
              "/evaluateur : texte qui n'est pas en UTF-8");
        refus("bénéficiaire en Latin-1", R"("beneficiaire": "")", "\"beneficiaire\": \"L\xe9on\"",
              "/beneficiaire : texte qui n'est pas en UTF-8");
        refus("demi-caractère", R"("Claire Dupuis")", R"("\ud83d")",
              "/evaluateur : texte mal formé (échappement inconnu, ou demi-caractère UTF-16");
        refus("caractère de contrôle", R"("Claire Dupuis")", "\"Claire\x01\"",
              "/evaluateur : caractère de contrôle dans un texte");
        refus("GIR 7", R"("gir": 5)", R"("gir": 7)", "/resultats/gir : GIR 7 hors de 1 à 6");
        refus("GIR 0", R"("gir": 5)", R"("gir": 0)", "/resultats/gir : GIR 0 hors de 1 à 6");
        refus("modalité D", R"("Transferts": "A")", R"("Transferts": "D")",
              "/resultats/lignes/Transferts : modalité « D » inconnue");
        refus("GIR 4 avec sous-groupe", R"("gir": 5)", R"("gir": 4)",
              "/resultats/sous_groupe : un sous-groupe");
        refus("GIR 5 sans sous-groupe", R"("sous_groupe": "A")", R"("sous_groupe": null)",
              "/resultats/sous_groupe : un sous-groupe accompagne");
        refus("sans lignes", "", R"({"format": "pavonis-evaluation", "version": 1})",
              "/lignes : membre manquant");
        refus("tronqué", "\n}\n", "", "/ : JSON mal formé");
        refus("texte après", "\n}\n", "\n} {}", "/ : texte après la fin de l'évaluation");
    }
    void refus()
    {
        const auto [avant, apres, message] = ligne<QByteArray, QByteArray, QString>();
        Evaluation e;
        e.evaluateur = "Claire Dupuis";
        e.lignes.fill({Choix::Fait, {}});
        e.ligne("ToiletteH") = {Choix::NeFaitPas, {true, false, false, false}};
        std::string json = avant.isEmpty()
                               ? std::string()
                               : FormatEvaluation::ecrire(e, ResultatsEvaluation::calculer(e, tables_));
        const std::string a = avant.toStdString();
        QVERIFY2(json.find(a) != std::string::npos, a.c_str());
        json.replace(json.rfind(a), a.size(), apres.toStdString());
        const QString m = erreurDe([&] { FormatEvaluation::lire(json); });
        QVERIFY2(message.isEmpty() ? m.isEmpty() : m.contains(message), qPrintable(m));
    }

    // Evaluations mutated at random, each with the verdict of a reader that is not ours
    // (tests/json/generer-differentiel.py): the same verdict.
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

    // Any spacing, order and escapes are read; results that differ from the recomputed ones are named, and
    // the recomputed ones stand.
    void lectureGeneraleEtEcarts()
    {
        std::string json = R"({ "lignes" : {)";
        for (std::size_t i = 0; i < Evaluation::kNbLignes; ++i)
            json += (i ? ",\n\"" : "\"") + std::string(Evaluation::cle(i)) +
                    "\":{\"adverbes\":[\"H\",\"S\"],\"choix\":\"aucun\"}";
        json += "}, \"version\":1, \"format\":\"pavonis-evaluation\", \"beneficiaire\":"
                "\"Z\\u00e9o \\ud83d\\ude00 \\\"x\\\"\\n\"}";
        const auto lu = FormatEvaluation::lire(json);
        QCOMPARE(QString::fromStdString(lu.evaluation.beneficiaire), QString::fromUtf8("Zéo 😀 \"x\"\n"));
        QVERIFY(!lu.resultats);
        QVERIFY(lu.evaluation.ligne("Achats") == (ReponseLigne{Choix::Aucun, {true, false, false, true}}));
        const ResultatsEvaluation r = ResultatsEvaluation::calculer(lu.evaluation, tables_);
        ResultatsEvaluation faux = r;
        faux.gir = r.gir == 3 ? 4 : 3;
        faux.notesLignes[2] = r.notesLignes[2] == 'A' ? 'C' : 'A';
        const std::vector<std::string> ecarts = FormatEvaluation::ecarts(faux, r);
        QCOMPARE(ecarts.size(), 2u);
        QVERIFY(QString::fromStdString(ecarts[0]).startsWith("/resultats/lignes/ToiletteH : "));
        QVERIFY(QString::fromStdString(ecarts[1]).contains(
            QStringLiteral("/resultats/gir : %1 dans le fichier, %2 recalculé").arg(faux.gir).arg(r.gir)));
    }
};

QTEST_GUILESS_MAIN(TestEvaluation)
#include "tst_evaluation.moc"
