// docs/surete.md for every program; pavonis-rapport's options; --help against the manual pages.

#include "OutilsEssai.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace pavonis::essai;

class TestSurete : public QObject {
    Q_OBJECT

    inline static const QString kCsv = PAVONIS_EXEMPLES "/evaluations.csv";
    static constexpr auto kTout = QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot;
    QTemporaryDir dossier_;
    QProcessEnvironment env_;
    QString magasin_, evaluation_ = PAVONIS_EXEMPLES "/evaluation.json";

    QStringList places(QStringList a, const QString& dossier) const
    {
        return a.replaceInStrings("%P", magasin_)
            .replaceInStrings("%E", evaluation_)
            .replaceInStrings("%D", dossier);
    }

private slots:
    // Everything but the file under test: a store, a registry naming the control; no home folder.
    void initTestCase()
    {
        env_ = avec("PAVONIS_DATE_DU_JOUR", "2026-12-05", avec("QT_QPA_PLATFORM", "offscreen"));
        env_.insert("PAVONIS_REGISTRE", dossier_.filePath("registre.json"));
        env_.remove("HOME");
        env_.remove("XDG_DATA_HOME");
        magasin_ = creerMagasin(dossier_.filePath("parametres.sqlite"));
        QCOMPARE(lancer(PAVONIS_REGSVR, {PAVONIS_OCX}, {}, env_).code, 0);
    }

    // Full disk (a size limit), pipe or device: the file and reason named, the target left alone as it was.
    void ecritures_data()
    {
        colonnes<QString, QStringList, QString>();
        const QStringList hote{"--parametres", "%P", "--charger", "%E"};
        const QStringList rapport{"%E", "--parametres", "%P", "-o", "%D/cible"};
        for (const char* genre : {"disque plein", "tube", "périphérique"}) {
            for (const char* option : {"--evaluation", "--fhir", "--etat", "--pdf", "--capture"})
                QTest::addRow("hote %s, %s", option, genre)
                    << PAVONIS_HOTE << hote + QStringList{option, "%D/cible"} << genre;
            QTest::addRow("rapport, %s", genre) << PAVONIS_RAPPORT << rapport << genre;
            QTest::addRow("rapport --pdfa, %s", genre)
                << PAVONIS_RAPPORT << rapport + QStringList("--pdfa") << genre;
            QTest::addRow("gir --synthese, %s", genre)
                << PAVONIS_GIR << QStringList{"--parametres", "%P", "--synthese=%D/cible", kCsv} << genre;
        }
        // A failed sync or rename (strace injects the error): the original stays.
        QTest::newRow("rapport, fsync") << PAVONIS_RAPPORT << rapport << "fsync,fdatasync:error=EIO";
        QTest::newRow("rapport, rename")
            << PAVONIS_RAPPORT << rapport << "rename,renameat,renameat2:error=ENOSPC";
        QTest::newRow("regsvr") << PAVONIS_REGSVR << QStringList{PAVONIS_OCX} << "disque plein";
        QTest::newRow("hote-dossier")
            << PAVONIS_HOTE_DOSSIER << QStringList{"%D/cible", "--modifier"} << "disque plein";
    }
    void ecritures()
    {
        const auto [programme, arguments, genre] = ligne<QString, QStringList, QString>();
        const bool regsvr = programme == PAVONIS_REGSVR, injecte = genre.contains(':'),
                   plein = genre == "disque plein" || injecte;
        QTemporaryDir ici;
        const QString cible = ici.filePath("cible");
        // What was there: a registry naming another library, or an evaluation kept earlier.
        const QByteArray avant =
            regsvr ? R"({"ProgID": {"Autre.Controle": {"CLSID": "{0}"}}})" : lireFichier(evaluation_);
        if (plein)
            ecrireFichier(cible, avant);
        else
            QVERIFY(genre == "tube" ? mkfifo(qPrintable(cible), 0600) == 0 : QFile::link("/dev/null", cible));
        const std::function<void()> limite = [] { setrlimit(RLIMIT_FSIZE, std::data({rlimit{128, 128}})); };
        const QProcessEnvironment env = regsvr ? avec("PAVONIS_REGISTRE", cible, env_) : env_;
        const Execution e =
            injecte ? lancer("strace",
                             QStringList{"-f", "-o", "/dev/null", "-e", "inject=" + genre, programme} +
                                 places(arguments, ici.path()),
                             {}, avec("ASAN_OPTIONS", "detect_leaks=0", env)) // no leak check under ptrace
                    : lancer(programme, places(arguments, ici.path()), {}, env, plein ? limite : nullptr);
        const QString raison = programme == PAVONIS_HOTE_DOSSIER ? "le précédent est intact"
                               : plein                           ? cible + " » : " +
                                             (!injecte ? "fichier plus grand que la taille permise"
                                              : genre.startsWith("f") ? "erreur d'entrée-sortie du disque"
                                                                      : "plus de place sur le disque") +
                                             " ; le fichier d'origine est intact."
                                       : cible + " » : c'est un " + genre + " ; rien n'a été écrit";
        QVERIFY2(e.code > 0 && e.erreurs.contains(raison.toUtf8()), e.erreurs.constData());
        struct stat s {};
        QVERIFY(lstat(qPrintable(cible), &s) == 0 &&
                (plein ? lireFichier(cible) == avant
                       : (genre == "tube" ? S_ISFIFO(s.st_mode) : S_ISLNK(s.st_mode))));
        QCOMPARE(QDir(ici.path()).entryList(kTout), {"cible"});
    }

    // A registry and a store nobody wrote in a sticky shared folder: root's programs name and refuse them.
    void fichiersDUnAutre()
    {
        if (geteuid() != 0)
            QSKIP("root seul peut agir comme un autre utilisateur");
        QTemporaryDir d;
        QVERIFY(chmod(qPrintable(d.path()), 01777) == 0);
        const QString registre = d.filePath("registre.json"), magasin = d.filePath("parametres.sqlite");
        const QProcessEnvironment env = avec("PAVONIS_REGISTRE", registre, env_);
        // Nobody's demo host registers the control (the library itself is root's) and makes a store.
        int code = -1;
        QString s = executer(PAVONIS_HOTE, {"--parametres", magasin, "--etat", d.filePath("sien.json")},
                             &code, env, commePersonne);
        QVERIFY2(code == 0 && QFileInfo(registre).ownerId() == 65534 && QFileInfo(magasin).ownerId() == 65534,
                 qPrintable(s));
        const QString autre = " » : il appartient à l'utilisateur 65534, ni à vous ni à root.";
        s = executer(PAVONIS_HOTE, {"--parametres", magasin_, "--etat", d.filePath("etat.json")}, &code, env);
        QVERIFY2(code == 1 && s.contains("Refus du registre des composants « " + registre + autre),
                 qPrintable(s));
        QVERIFY(!QFile::exists(d.filePath("etat.json")));
        s = executer(PAVONIS_GIR, {"--parametres", magasin, kCsv}, &code, env);
        QVERIFY2(code == 1 && s.contains("Refus du fichier de paramètres « " + magasin + autre),
                 qPrintable(s));
    }

    // pavonis-rapport's options and page ("XMP:" title|author|subject|); a store missing or others may
    // change.
    void programmes_data()
    {
        colonnes<QStringList, QByteArray, int, QStringList, QString, int, int>();
        const auto cas = [](const char* nom, const QStringList& a, const QByteArray& entree, int code,
                            const QStringList& attendus, int fichier = 0, int dossier = 0,
                            const QString& programme = PAVONIS_RAPPORT) {
            QTest::newRow(nom) << a << entree << code << attendus << programme << fichier << dossier;
        };
        const QString p = "--parametres", o = "%D/r.pdf";
        const QStringList noms{"Jeanne Martin", "Claire Dupuis"}, tube{"-", "-o", o, p, "%P"};
        const auto remplace = [&](const char* a, QByteArray b) {
            return lireFichier(evaluation_).replace(a, b);
        };
        cas("-o FICHIER", {"%E", "-o", o, p, "%P"}, {}, 0, noms);
        cas("--sortie FICHIER", {"--sortie", o, "%E", p, "%P"}, {}, 0, noms);
        cas("-o -", {"%E", "-o", "-", p, "%P"}, {}, 0, noms);
        cas("--pdfa", {"%E", "-o", o, "--pdfa", p, "%P"}, {}, 0,
            {"XMP:Évaluation AGGIR – Jeanne Martin – 05/12/2026|Claire Dupuis|Jeanne Martin|"});
        cas("entrée - d'un tube, 70 Kio", tube, remplace("Jeanne Martin", QByteArray(70 * 1024, 'x')), 0,
            {"Claire Dupuis", "xxxxxxxx"});
        // XML 1.0 forbids U+0001 to U+001F but tab and line ends; blanks run together as on the page.
        QByteArray interdits;
        for (int c = 1; c < 0x20; ++c)
            interdits += "\\u" + QByteArray::number(c, 16).rightJustified(4, '0');
        cas("noms interdits en XML", tube + QStringList("--pdfa"),
            remplace("Claire Dupuis", interdits + "A <&> \\\"L\\\"").replace("Jeanne Martin", "B\\u001b\x7f"),
            0, {"| A <&> \"L\"|B\x7f|"});
        cas("GIR écrit faux", tube, remplace("\"gir\": 4", "\"gir\": 3"), 0,
            {"avertissement : /resultats/gir : 3 dans le fichier, 4 recalculé"});
        cas("ligne sans réponse", tube,
            remplace("\"Cuisine\": {\"choix\": \"fait", "\"Cuisine\": {\"choix\": \"aucun"), 2,
            {"évaluation - refusée : lignes sans réponse : Cuisine."});
        cas("évaluation refusée", tube, "{\"format\": \"autre\"}", 2, {"évaluation - refusée : /format"});
        cas("évaluation absente", {"%D/absente.json", "-o", o, p, "%P"}, {}, 1, {"absente.json"});
        cas("magasin abîmé", {"%E", "-o", o, p, "%D/abime.sqlite"}, {}, 1, {"abime.sqlite"});
        cas("sans -o", {"%E", p, "%P"}, {}, 2, {"il manque le fichier PDF à écrire"});
        cas("sans évaluation", {"-o", o}, {}, 2, {"il manque le fichier de l'évaluation"});
        cas("deux évaluations", {"%E", "%E", "-o", o}, {}, 2, {"une seule évaluation"});
        cas("--parametres vide", {"%E", "-o", o, p, ""}, {}, 2, {"--parametres attend un nom de fichier"});
        cas("option inconnue", {"%E", "-o", o, "--pdfx"}, {}, 2, {"pdfx"});
        const QString sans =
            "Pas de dossier personnel (ni HOME ni XDG_DATA_HOME) pour le magasin de paramètres "
            ": indiquez-le avec --parametres FICHIER, ou définissez XDG_DATA_HOME.";
        cas("sans dossier personnel", {"%E", "-o", o}, {}, 1, {sans});
        cas("gir sans dossier personnel", {kCsv}, {}, 1, {sans}, 0, 0, PAVONIS_GIR);
        cas("hote sans dossier personnel", {"--etat", "%D/etat.json"}, {}, 1, {sans}, 0, 0, PAVONIS_HOTE);
        const QStringList m{"%E", "-o", o, p, "%D/d/p.sqlite"}, l{"%E", "-o", o, p, "%D/lien.sqlite"};
        const QString r = "Refus du fichier de paramètres « %D/d/p.sqlite » : ";
        cas("magasin 0666", m, {}, 1, {r + "il est modifiable par tous."}, 0666, 0755);
        cas("magasin 0664", m, {}, 1, {r + "il est modifiable par son groupe."}, 0664, 0755);
        cas("dossier 0777", m, {}, 1, {r + "son dossier « %D/d » est modifiable par tous."}, 0644, 0777);
        cas("dossier 0775", m, {}, 1, {r + "son dossier « %D/d » est modifiable par son groupe."}, 0644,
            0775);
        cas("dossier collant", m, {}, 0, noms, 0644, 01777);
        cas("lien vers 0666", l, {}, 1,
            {"Refus du fichier de paramètres « %D/lien.sqlite » : c'est un lien symbolique vers « "}, 0666,
            0755);
    }
    void programmes()
    {
        const auto [arguments, entree, code, attendus, programme, fichier, dossier] =
            ligne<QStringList, QByteArray, int, QStringList, QString, int, int>();
        QTemporaryDir ici;
        const QString d = ici.filePath("d");
        creerMagasin(ici.filePath("abime.sqlite"), "DROP TABLE valeurs;");
        QVERIFY(QDir().mkdir(d) && QFile::copy(magasin_, d + "/p.sqlite") &&
                QFile::link(d + "/p.sqlite", ici.filePath("lien.sqlite")));
        QVERIFY(fichier == 0 || (chmod(qPrintable(d + "/p.sqlite"), mode_t(fichier)) == 0 &&
                                 chmod(qPrintable(d), mode_t(dossier)) == 0));
        const QString r = ici.filePath("r.pdf"); // written over, it keeps its mode; kept whole on failure
        ecrireFichier(r, "ancien");
        QVERIFY(chmod(qPrintable(r), 0604) == 0);
        const Execution e = lancer(programme, places(arguments, ici.path()), entree, env_);
        QVERIFY2(e.code == code, e.erreurs.constData());
        QVERIFY(QFileInfo(r).permissions() == (QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser |
                                               QFile::WriteUser | QFile::ReadOther));
        const bool surSortie = arguments.indexOf("-", arguments.indexOf("-o")) == arguments.indexOf("-o") + 1;
        QVERIFY(surSortie || e.sortie.isEmpty());
        const QByteArray pdf = surSortie ? e.sortie : lireFichier(r);
        QVERIFY((code == 0 && !surSortie) || lireFichier(r) == "ancien");
        QCOMPARE(pdf.startsWith("%PDF-") && pdf.trimmed().endsWith("%%EOF"), code == 0);
        QString texte = QString::fromUtf8(e.erreurs + lancer("pdftotext", {"-", "-"}, pdf).sortie);
        if (const qsizetype debut = pdf.indexOf("<x:xmpmeta"); debut > 0) {
            QXmlStreamReader xml(pdf.mid(debut, pdf.indexOf("</x:xmpmeta>") + 12 - debut));
            for (texte += "XMP:"; !xml.atEnd();)
                if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("li"))
                    texte += xml.readElementText() + '|';
            QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        }
        for (const QString& a : places(attendus, ici.path()))
            QVERIFY2(texte.contains(a), qPrintable(texte));
        QCOMPARE(QDir(ici.path()).entryList(kTout).join(' '), QString("abime.sqlite d lien.sqlite r.pdf"));
    }

    // --help, and -h where the page has it, name every option of the program's manual page (docs/man).
    void aide_data()
    {
        colonnes<QString>();
        for (const char* p : {PAVONIS_GIR, PAVONIS_HOTE, PAVONIS_RAPPORT, PAVONIS_REGSVR})
            QTest::newRow(p) << QString(p);
    }
    void aide()
    {
        const auto [programme] = ligne<QString>();
        const QString nom = QFileInfo(programme).fileName();
        const QString page = QString::fromUtf8(lireFichier(PAVONIS_EXEMPLES "/../docs/man/" + nom + ".1"));
        QStringList options; // the words of each item's tag, as "-o, --sortie RAPPORT.pdf"
        for (const auto& m : QRegularExpression("^\\.TP\n\\S+ (.*)$", QRegularExpression::MultilineOption)
                                 .globalMatch(page.section(".SH OPTIONS", 1).section(".SH", 0, 0)))
            options += m.captured(1)
                           .remove(QRegularExpression("\\\\f[BIR]|[\\\\\",]"))
                           .split(' ', Qt::SkipEmptyParts);
        QVERIFY2(options.size() > 2, qPrintable(options.join(' ')));
        for (const QString& option : QStringList("--help") + options.filter(QRegularExpression("^-h$"))) {
            const Execution e = lancer(programme, {option});
            QVERIFY(e.code == 0 && e.erreurs.isEmpty() && e.sortie.contains("Usage : " + nom.toUtf8()));
            for (const QString& o : options)
                QVERIFY2(QString::fromUtf8(e.sortie).contains(o), qPrintable(o));
        }
    }
};

QTEST_GUILESS_MAIN(TestSurete)
#include "tst_surete.moc"
