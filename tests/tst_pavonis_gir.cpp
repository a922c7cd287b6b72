// pavonis-gir (docs/pavonis-gir.md): each form, fault, mode and option; the scorer alike in any chunks.

#include "OutilsEssai.h"
#include "TablesEssai.h"
#include <pavonis/gir/ScoreurCsv.h>
#include <pavonis/gir/ScoreurJsonl.h>

#include <QTemporaryDir>

using namespace pavonis;
using namespace pavonis::essai;

const QByteArray kModalites = "coherence;orientation;toilette;habillage;alimentation;elimination;transferts;"
                              "deplacements_interieurs;deplacements_exterieurs;alerter";
const QByteArray kLignes =
    "Transferts;DeplacInter;ToiletteH;ToiletteB;EliminationFecale;EliminationUrinaire;"
    "HabillageH;HabillageM;HabillageB;Cuisine;AlimentationServir;AlimentationManger;"
    "SuiviTraitement;Menage;Alerter;DeplacExter;Transports;ActivitesTempsLibre;Achats;"
    "Gestion;OrientationTemps;OrientationEspace;CoherenceCommunication;CoherenceComportement";

// docs/scenarios.md's gir1-6.txt as cells, modalities, composites, GIR (gir4: H = 2000 + 2000 >= 4000).
const QByteArray kCas[][3] = {
    {"N;N;N;N;N;N;N;N;N;F;N;N;F;F;F;F;F;F;F;F;N;N;N;N", "C;C;C;C;C;C;C;C;A;A", "C;C;C;C;C;C;1;"},
    {"F;F;N;N;N;F;N;N;N;F;N;N;F;F;F;F;F;F;F;F;N;N;N;N", "C;C;C;C;C;C;A;A;A;A", "C;C;C;C;C;C;2;"},
    {"F;F;N;N;F;F;N;N;N;F;N;N;F;F;F;F;F;F;F;F;F;F;F;F", "A;A;C;C;C;A;A;A;A;A", "C;A;C;C;A;A;3;"},
    {"F;F;NS;F;F;F;NT;F;F;F;F;F;F;F;F;F;F;F;F;F;F;F;F;F", "A;A;B;B;A;A;A;A;A;A", "B;A;B;A;A;A;4;"},
    {"F;F;NS;F;F;F;F;F;F;F;F;F;F;F;N;F;F;F;F;F;F;F;F;F", "A;A;B;A;A;A;A;A;A;C", "B;A;A;A;A;A;5;C"},
    {"F;F;F;F;F;F;F;F;F;N;F;F;F;N;F;NS;F;F;F;F;F;F;F;F", "A;A;A;A;A;A;A;A;B;A", "A;A;A;A;A;A;6;B"},
};

// An evaluation on one line of the exchange format; `plus`: members before the rows.
static QByteArray enJson(const QByteArray& cellules, const QByteArray& plus = {})
{
    const QList<QByteArray> cles = kLignes.split(';'), c = cellules.split(';');
    QByteArray lignes;
    for (qsizetype i = 0; i < cles.size(); ++i) {
        QByteArray adverbes;
        for (char a : c[i].mid(1))
            adverbes += QByteArray(adverbes.isEmpty() ? ",\"adverbes\":[" : ",") + '"' + a + '"';
        const char* choix = c[i].isEmpty() ? "aucun" : c[i] == "F" ? "fait" : "ne-fait-pas";
        lignes += (i ? ",\"" : "\"") + cles[i] + "\":{\"choix\":\"" + choix + '"' +
                  (adverbes.isEmpty() ? "" : adverbes + ']') + '}';
    }
    return "{\"format\":\"pavonis-evaluation\",\"version\":1," + plus + "\"lignes\":{" + lignes + "}}\n";
}

// The scorer (JSON Lines if the input starts with '{') fed `morceau` bytes at a time: status, output.
static std::pair<int, QByteArray> scorer(const QByteArray& entree, std::size_t morceau)
{
    static const TableGir table(PoidsGroupes::lire(tablesDuDecret()));
    std::size_t pos = 0;
    std::string sortie;
    const auto lire = [&](char* tampon, std::size_t taille) {
        const std::size_t n = std::min({taille, morceau, std::size_t(entree.size()) - pos});
        std::copy_n(entree.constData() + std::exchange(pos, pos + n), n, tampon);
        return n;
    };
    const auto ecrire = [&](std::string_view t) { sortie.append(t); };
    const auto rien = [](const std::string&) {};
    const int statut = entree.startsWith('{') ? ScoreurJsonl(table).traiter(lire, ecrire, rien)
                                              : ScoreurCsv(table).traiter(lire, ecrire, rien);
    return {statut, QByteArray::fromStdString(sortie)};
}

class TestPavonisGir : public QObject {
    Q_OBJECT

    QTemporaryDir dossier_;

private slots:
    void programme_data()
    {
        colonnes<QStringList, QByteArray, int, QByteArray, QStringList, QByteArray>();
        const auto cas = [](const char* nom, QByteArray entree, QByteArray sortie, int statut = 0,
                            QStringList a = {}, QStringList erreurs = {}, QByteArray fichier = {}) {
            QTest::newRow(nom) << a << entree << statut << sortie << erreurs << fichier;
        };
        const QByteArray &m = kModalites, mg = m + ";gir;sous_groupe", a = "A;A;A;A;A;A;A;A;A;A",
                         c = "C;C;C;C;C;C;C;C;C;C", cn = c + '\n', c1 = c + ";1;\n", q = "A;\"" + a.mid(2);
        const QByteArray v = "alerter,id," + QByteArray(m).replace(';', ',').replace(",alerter", "");
        cas("virgules", v + "\nC,1,A,A,A,A,A,A,A,A,A\n", v + ",gir,sous_groupe\nC,1,A,A,A,A,A,A,A,A,A,6,C\n");
        cas("CRLF", m + "\r\n" + a + "\r\n", mg + "\r\n" + a + ";6;A\r\n");
        cas("CR seul", m + "\r" + a + "\r" + c, mg + "\r" + a + ";6;A\r" + c + ";1;\r");
        const QByteArray bom = "\xEF\xBB\xBF\"i;d\";" + m, rx = m + ";gir;x;sous_groupe\n";
        cas("marque d'ordre, guillemets", bom + ";r\n1;" + a + ";\"d\"\"x\"\"\"\n",
            bom + ";r;gir;sous_groupe\n1;" + a + ";\"d\"\"x\"\"\";6;A\n");
        cas("champ 2 lignes", "n;" + m + "\n\"a\nb\";" + c + "\n", "n;" + mg + "\n\"a\nb\";" + c + ";1;\n");
        cas("recalcul", rx + a + ";3;y;C\n", rx + a + ";6;y;A\n");
        cas("colonnes recopiées en double", "x;" + m + ";x\n1;" + c + ";2\n",
            "x;" + m + ";x;gir;sous_groupe\n1;" + c + ";2;1;\n");
        cas("lignes vides", m + "\n\n" + a + "\n\n", mg + "\n" + a + ";6;A\n");
        // A faulty line costs itself alone; so does a quote still open 64 KiB on.
        const auto faute = [&](const char* nom, const QByteArray& l, QString e) {
            cas(nom, m + '\n' + l + '\n' + cn, mg + '\n' + l + ";;\n" + c1, 2, {}, {"ligne 2" + e});
        };
        faute("lettre inconnue", "A;A;A;D;A;A;A;A;A;A", ", colonne \"habillage\" : valeur \"D\" invalide");
        faute("deux lettres", "A;A;A;AB;A;A;A;A;A;A", ", colonne \"habillage\" : valeur \"AB\" invalide");
        faute("cellule vide", "A;A;;A;A;A;A;A;A;A", ", colonne \"toilette\" : cellule vide");
        faute("colonnes", "A;A;A", " : 3 colonne(s) au lieu de 10");
        faute("colonne de trop", "A;A;A;A;A;A;A;A;A;A;A", " : 11 colonne(s) au lieu de 10");
        faute("guillemet ouvert", q, ", colonne \"orientation\" : un guillemet ouvert");
        cas("guillemet fermé trop loin", m + '\n' + q + '\n' + cn.repeated(4000) + "C\";C\n",
            mg + '\n' + q + ";;\n" + c1.repeated(4000) + "C\";C;;\n", 2, {},
            {"ligne 2, colonne \"orientation\""});
        cas("en-tête vide", {}, {}, 2, {}, {"entrée vide"});
        cas("en-tête incomplet", "coherence;orientation\nA\n", {}, 2, {}, {"il manque : toilette"});
        cas("toilette 2 fois", m + ";toilette\nA\n", {}, 2, {}, {"la colonne \"toilette\" apparaît 2 fois"});
        cas("gir deux fois", m + ";gir;gir\nA\n", {}, 2, {}, {"la colonne \"gir\" apparaît 2 fois"});
        cas("les deux formes", m + ";" + kLignes + "\nA\n", {}, 2, {}, {"à la fois"});
        // Case g written g times; JSON Lines add a name to quote, a member missing, gir6 without Cuisine.
        const QString d = dossier_.path(), s = "--synthese=" + d + "/s.txt";
        const QByteArray fauteL = "F;F;F;F;F;F;F;NTHT;F;F;F;F;F;F;F;F;F;F;F;F;F;F;F;F",
                         sansReponse = "F;F;F;F;F;F;F;F;F;;F;F;F;N;F;NS;F;F;F;F;F;F;F;F";
        QByteArray md = "dossier;" + m + '\n', smd = "dossier;" + mg + '\n', l = kLignes + '\n';
        QByteArray sl =
            kLignes + ";toilette;elimination;habillage;alimentation;orientation;coherence;gir;sous_groupe\n";
        QByteArray j, sj = "evaluateur;beneficiaire;date;" + sl;
        for (int n = 0, k = 0; k < 6; ++k)
            for (int i = 0; i <= k; ++i, ++n) {
                const auto& [cellules, modalites, resultats] = kCas[k];
                md += "D;" + modalites + '\n';
                smd += "D;" + modalites + ';' + resultats.mid(12) + '\n';
                l += cellules + '\n';
                sl += cellules + ';' + resultats + '\n';
                j += enJson(cellules, n ? "" : "\"evaluateur\":\"a; \\\"b\\\"\",");
                sj += (n ? ";;;" : "\"a; \"\"b\"\"\";;;") + cellules + ';' + resultats + '\n';
            }
        l += fauteL + '\n';
        sl += fauteL + ";;;;;;;;\n";
        j += "{\"format\":\"pavonis-evaluation\"}\n" + enJson(sansReponse);
        for (const QByteArray nom :
             {"L\xe9on", "\x01", "\\q", "\\ud800", "\xed\xa0\x80"}) // each costs itself
            j += enJson(kCas[5][0], "\"evaluateur\":\"" + nom + "\",");
        sj += ";;;" + sansReponse + ";;;;;;;;\n";
        for (const auto& [nom, contenu] :
             {std::pair{"m.csv", md}, {"m.jsonl", md}, {"l.csv", l}, {"j.jsonl", j}, {"j.txt", j}})
            ecrireFichier(d + '/' + nom, contenu);
        const QStringList el{"ligne 23, colonne \"HabillageM\" : valeur \"NTHT\" invalide"},
            ej{"ligne 22, /version : membre manquant",
               "ligne 23 : lignes sans réponse : Cuisine ; évaluation non calculée.",
               "ligne 24, /evaluateur : texte qui n'est pas en UTF-8",
               "ligne 25, /evaluateur : caractère de contrôle",
               "ligne 27, /evaluateur : texte mal formé",
               "ligne 28, /evaluateur : texte qui n'est pas en UTF-8"};
        // GMP = (1000×1 + 840×2 + 660×3 + 420×4 + 250×5 + 70×6) / 21 = 8010 / 21.
        const QByteArray s1 =
            "Synthèse\nPersonnes évaluées : 21\nGIR 1 : 1\nGIR 2 : 2\nGIR 3 : 3\nGIR 4 : 4\nGIR 5 : 5\n"
            "GIR 6 : 6\nLignes non calculées : 1\nGMP (GIR moyen pondéré) : 381,43\n";
        const QByteArray s2 = QByteArray(s1).replace("calculées : 1", "calculées : 7");
        const QStringList els = el + QStringList(s1), ejs = ej + QStringList(s2);
        cas("modalités, magasin par défaut", {}, smd, 0, {d + "/m.csv"});
        cas("--format csv sur un .jsonl", {}, smd, 0, {"--format", "csv", d + "/m.jsonl"});
        cas("lignes, --synthese", {}, sl, 2, {"--synthese", d + "/l.csv"}, els);
        cas("lignes, entrée standard, --synthese=FICHIER", l, sl, 2, {s}, el, s1);
        cas("lignes déjà calculées, -", sl, sl, 2, {"-"}, el);
        cas("jsonl par l'extension, --synthese=FICHIER", {}, sj, 2, {s, d + "/j.jsonl"}, ej, s2);
        cas("--format jsonl, --synthese", {}, sj, 2, {"--format", "jsonl", "--synthese", d + "/j.txt"}, ejs);
        cas("--format=jsonl, entrée standard", j, sj, 2, {"--format=jsonl"}, ej);
        cas("synthèse sans personne", m + '\n', mg + '\n', 0, {s}, {},
            "Synthèse\nPersonnes évaluées : 0\nGIR 1 : 0\nGIR 2 : 0\nGIR 3 : 0\nGIR 4 : 0\nGIR 5 : 0\n"
            "GIR 6 : 0\nLignes non calculées : 0\n"
            "GMP (GIR moyen pondéré) : non calculable, aucune personne évaluée\n");
        // Group A without Cohérence C: all C scores 4440 - 2000 < 3390 in A, then 3660 >= 2016 in B: GIR 2.
        creerMagasin(d + "/a", "UPDATE valeurs SET valeur = 0 WHERE cle = 'A' AND ligne = 1 AND colonne = 2");
        creerMagasin(d + "/sans-repertoire.sqlite", "DELETE FROM sections WHERE nom = 'CHEMINFICHIER';");
        const QByteArray mc = m + '\n' + cn, smc = mg + '\n' + c + ";2;\n";
        cas("--parametres FICHIER", mc, smc, 0, {"--parametres", d + "/a"});
        cas("--parametres=FICHIER", mc, smc, 0, {"--parametres=" + d + "/a", s, "-"}, {},
            "Synthèse\nPersonnes évaluées : 1\nGIR 1 : 0\nGIR 2 : 1\nGIR 3 : 0\nGIR 4 : 0\nGIR 5 : 0\nGIR 6 "
            ": 0\n"
            "Lignes non calculées : 0\nGMP (GIR moyen pondéré) : 840,00\n");
        cas("magasin sans répertoire", md, smd, 0, {"--parametres", d + "/sans-repertoire.sqlite", "-"});
        cas("--parametres=", {}, {}, 2, {"--parametres="}, {"--parametres attend un nom de fichier"});
        cas("--format xml", {}, {}, 2, {"--format", "xml"}, {"--format attend csv ou jsonl"});
        cas("--format sans valeur", {}, {}, 2, {"--format"}, {"--format attend une valeur"});
        cas("--synthese=", {}, {}, 2, {"--synthese="}, {"--synthese= attend un nom de fichier"});
        cas("option inconnue", {}, {}, 2, {"--sortie"}, {"option inconnue : --sortie"});
        cas("deux entrées", {}, {}, 2, {"a.csv", "b.csv"}, {"un seul fichier d'entrée"});
        cas("magasin absent", {}, {}, 1, {"--parametres", "/nulle/part.sqlite"}, {"n'existe pas"});
        cas("entrée absente", {}, {}, 1, {"/nulle/part.csv"}, {"impossible de lire /nulle/part.csv"});
    }
    void programme()
    {
        const auto [arguments, entree, statut, sortie, erreurs, fichier] =
            ligne<QStringList, QByteArray, int, QByteArray, QStringList, QByteArray>();
        QFile::remove(dossier_.filePath("s.txt"));
        const Execution e = lancer(PAVONIS_GIR, arguments, entree, avec("XDG_DATA_HOME", dossier_.path()));
        const QString texte = QString::fromUtf8(e.erreurs);
        QVERIFY2(e.code == statut && (!erreurs.isEmpty() || texte.isEmpty()), qPrintable(texte));
        QCOMPARE(e.sortie, sortie);
        for (const QString& m : erreurs)
            QVERIFY2(texte.contains(m), qPrintable(texte));
        QCOMPARE(lireFichier(dossier_.filePath("s.txt")), fichier);
        QVERIFY(fichier.isEmpty() || !texte.contains("GMP")); // the summary goes to one place
        if (!entree.isEmpty() && !arguments.join(' ').contains("--parametres"))
            QVERIFY(scorer(entree, 1) == std::pair(statut, sortie) && scorer(entree, 7) == scorer(entree, 1));
    }
};

QTEST_GUILESS_MAIN(TestPavonisGir)
#include "tst_pavonis_gir.moc"
