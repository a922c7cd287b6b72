// Nothing lost, nobody let in: every program that writes a file, on a full
// disk and on a target that is not a file; registries and parameter stores
// that another user could have written; a pipe read to its end; the archive's
// metadata with names no XML allows.

#include "OutilsEssai.h"

#include <pavonis/evaluation/Evaluation.h>
#include <pavonis/evaluation/FormatEvaluation.h>
#include <pavonis/evaluation/ResultatsEvaluation.h>
#include <pavonis/host/MagasinParametres.h>

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace pavonis;
using namespace pavonis::essai;

namespace {

constexpr uid_t kPersonne = 65534; // nobody

QString programme(const QString& nom)
{
    if (nom == "hote")
        return PAVONIS_HOTE;
    if (nom == "rapport")
        return PAVONIS_RAPPORT;
    if (nom == "gir")
        return PAVONIS_GIR;
    if (nom == "regsvr")
        return PAVONIS_REGSVR;
    return PAVONIS_HOTE_DOSSIER;
}

// A child whose files cannot grow past `octets`.
std::function<void()> limite(rlim_t octets)
{
    return [octets] {
        const rlimit l{octets, octets};
        setrlimit(RLIMIT_FSIZE, &l);
    };
}

// A child running as nobody.
void commePersonne()
{
    if (setgroups(0, nullptr) != 0 || setgid(kPersonne) != 0 || setuid(kPersonne) != 0)
        _exit(125);
}

} // namespace

class TestSurete : public QObject {
    Q_OBJECT

    QTemporaryDir dossier_;
    QProcessEnvironment env_;
    QString magasin_, evaluation_;

    // Everything but the file under test: the store, the registry naming
    // the control, an evaluation to read.
    void preparer()
    {
        env_ = QProcessEnvironment::systemEnvironment();
        env_.insert("QT_QPA_PLATFORM", "offscreen");
        env_.insert("PAVONIS_REGISTRE", dossier_.filePath("registre.json"));
        magasin_ = dossier_.filePath("parametres.sqlite");
        if (!QFile::exists(magasin_))
            MagasinParametres::creer(magasin_.toStdString(), "/opt/pavonis/data/");
        evaluation_ = QStringLiteral(PAVONIS_EXEMPLES) + "/evaluation.json";
        int code = -1;
        executer(PAVONIS_REGSVR, {PAVONIS_OCX}, &code, env_);
        QCOMPARE(code, 0);
    }

    // The example evaluation under other names.
    QByteArray exemple(const std::string& evaluateur, const std::string& beneficiaire)
    {
        FormatEvaluation::Lecture l = FormatEvaluation::lire(lireFichier(evaluation_).toStdString());
        l.evaluation.evaluateur = evaluateur;
        l.evaluation.beneficiaire = beneficiaire;
        return QByteArray::fromStdString(FormatEvaluation::ecrire(l.evaluation, *l.resultats));
    }

private slots:
    void initTestCase() { preparer(); }

    // A write that fails half-way (the file size limit is reached) and a
    // target that is a pipe: the program says which file and why, exits
    // with an error, and leaves the target as it was, with nothing beside it.
    void ecritures_data()
    {
        QTest::addColumn<QString>("nom");
        QTest::addColumn<QStringList>("arguments"); // %C: the target
        QTest::addColumn<bool>("tube");
        const QStringList hote{"--parametres", "%P", "--charger", "%E"};
        for (const bool tube : {false, true}) {
            const char* genre = tube ? " sur un tube" : " disque plein";
            for (const char* option : {"--evaluation", "--fhir", "--etat", "--pdf", "--capture"})
                QTest::addRow("hote %s%s", option, genre)
                    << "hote" << hote + QStringList{option, "%C"} << tube;
            QTest::addRow("rapport%s", genre)
                << "rapport" << QStringList{"%E", "-o", "%C", "--parametres", "%P"} << tube;
            QTest::addRow("rapport pdfa%s", genre)
                << "rapport" << QStringList{"%E", "-o", "%C", "--pdfa", "--parametres", "%P"} << tube;
            QTest::addRow("gir synthese%s", genre)
                << "gir"
                << QStringList{"--parametres", "%P", "--synthese=%C", PAVONIS_EXEMPLES "/evaluations.csv"}
                << tube;
        }
        QTest::newRow("regsvr disque plein") << "regsvr" << QStringList{PAVONIS_OCX} << false;
        QTest::newRow("hote-dossier disque plein") << "dossier" << QStringList{"%C", "--modifier"} << false;
    }
    void ecritures()
    {
        QFETCH(QString, nom);
        QFETCH(QStringList, arguments);
        QFETCH(bool, tube);
        QTemporaryDir ici;
        const QString cible = ici.filePath("cible");
        // What was there before: a registry naming another library, or an
        // evaluation kept earlier.
        const QByteArray avant = nom == "regsvr"
                                     ? QByteArray(R"({"ProgID": {"Autre.Controle": {"CLSID": "{0}"}}})")
                                     : lireFichier(evaluation_);
        if (tube)
            QCOMPARE(mkfifo(qPrintable(cible), 0600), 0);
        else
            ecrireFichier(cible, avant);
        arguments.replaceInStrings("%C", cible)
            .replaceInStrings("%P", magasin_)
            .replaceInStrings("%E", evaluation_);
        QProcessEnvironment env = env_;
        if (nom == "regsvr")
            env.insert("PAVONIS_REGISTRE", cible);
        int code = -1;
        const QString sortie =
            executer(programme(nom), arguments, &code, env, tube ? std::function<void()>() : limite(128));
        QVERIFY2(code > 0, qPrintable(sortie));
        if (tube) {
            QVERIFY2(sortie.contains(cible + " » : c'est un tube ; rien n'a été écrit"), qPrintable(sortie));
            struct stat s {};
            QVERIFY(lstat(qPrintable(cible), &s) == 0 && S_ISFIFO(s.st_mode));
        } else {
            QVERIFY2(sortie.contains(nom == "dossier"
                                         ? "le précédent est intact"
                                         : cible + " » : fichier plus grand que la taille permise ; le "
                                                   "fichier d'origine est intact."),
                     qPrintable(sortie));
            QCOMPARE(lireFichier(cible), avant);
        }
        QCOMPARE(
            QDir(ici.path()).entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot),
            {"cible"});
    }

    // A registry and a store that another user wrote, in a folder everybody
    // may write to (with the sticky bit, as /tmp): the programs of root and
    // of the owner's neighbours refuse them, naming the file and its owner.
    void fichiersDUnAutre()
    {
        if (geteuid() != 0)
            QSKIP("root seul peut agir comme un autre utilisateur");
        QTemporaryDir partage;
        QVERIFY(chmod(qPrintable(partage.path()), 01777) == 0);
        QProcessEnvironment env = env_;
        const QString registre = partage.filePath("registre.json");
        const QString magasin = partage.filePath("parametres.sqlite");
        env.insert("PAVONIS_REGISTRE", registre);
        int code = -1;
        // Nobody's demo host registers the control (the library itself is
        // root's) and makes a store.
        QString sortie =
            executer(PAVONIS_HOTE, {"--parametres", magasin, "--etat", partage.filePath("sien.json")}, &code,
                     env, commePersonne);
        QVERIFY2(code == 0 && QFileInfo(registre).ownerId() == kPersonne &&
                     QFileInfo(magasin).ownerId() == kPersonne,
                 qPrintable(sortie));

        sortie = executer(PAVONIS_HOTE, {"--parametres", magasin_, "--etat", partage.filePath("etat.json")},
                          &code, env);
        QCOMPARE(code, 1);
        QVERIFY2(sortie.contains("Refus du registre des composants « " + registre +
                                 " » : il appartient à l'utilisateur 65534, ni à vous ni à root."),
                 qPrintable(sortie));
        QVERIFY(!QFile::exists(partage.filePath("etat.json")));
        sortie =
            executer(PAVONIS_GIR, {"--parametres", magasin, PAVONIS_EXEMPLES "/evaluations.csv"}, &code, env);
        QCOMPARE(code, 1);
        QVERIFY2(sortie.contains("Refus du fichier de paramètres « " + magasin +
                                 " » : il appartient à l'utilisateur 65534, ni à vous ni à root."),
                 qPrintable(sortie));
    }

    // Without a home folder (a system service, a cron job), no store is made
    // anywhere shared: the programs ask for one.
    void sansDossierPersonnel_data()
    {
        QTest::addColumn<QString>("nom");
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("gir") << "gir" << QStringList{PAVONIS_EXEMPLES "/evaluations.csv"};
        QTest::newRow("rapport") << "rapport" << QStringList{"%E", "-o", "%D/r.pdf"};
        QTest::newRow("hote") << "hote" << QStringList{"--etat", "%D/etat.json"};
    }
    void sansDossierPersonnel()
    {
        QFETCH(QString, nom);
        QFETCH(QStringList, arguments);
        QTemporaryDir ici;
        arguments.replaceInStrings("%E", evaluation_).replaceInStrings("%D", ici.path());
        QProcessEnvironment env = env_;
        env.remove("HOME");
        env.remove("XDG_DATA_HOME");
        int code = -1;
        const QString sortie = executer(programme(nom), arguments, &code, env);
        QCOMPARE(code, 1);
        QVERIFY2(sortie.contains(
                     "Pas de dossier personnel (ni HOME ni XDG_DATA_HOME) pour le magasin de paramètres "
                     ": indiquez-le avec --parametres FICHIER, ou définissez XDG_DATA_HOME."),
                 qPrintable(sortie));
        QCOMPARE(QDir(ici.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), {});
    }

    // A store that others may change, however: its mode, its folder's, or a
    // link to such a store.
    void magasinModifiableParDAutres_data()
    {
        QTest::addColumn<int>("modeFichier");
        QTest::addColumn<int>("modeDossier");
        QTest::addColumn<bool>("lien");
        QTest::addColumn<QString>("raison");
        QTest::newRow("fichier 0666") << 0666 << 0755 << false << "il est modifiable par tous";
        QTest::newRow("fichier 0664") << 0664 << 0755 << false << "il est modifiable par son groupe";
        QTest::newRow("dossier 0777") << 0644 << 0777 << false << "est modifiable par tous";
        QTest::newRow("dossier collant") << 0644 << 01777 << false << "";
        QTest::newRow("lien vers 0666") << 0666 << 0755 << true << "c'est un lien symbolique vers « ";
    }
    void magasinModifiableParDAutres()
    {
        QFETCH(int, modeFichier);
        QFETCH(int, modeDossier);
        QFETCH(bool, lien);
        QFETCH(QString, raison);
        QTemporaryDir ici;
        QVERIFY(QDir(ici.path()).mkdir("d"));
        const QString d = ici.filePath("d"), fichier = d + "/p.sqlite";
        QVERIFY(QFile::copy(magasin_, fichier));
        QVERIFY(chmod(qPrintable(fichier), mode_t(modeFichier)) == 0 &&
                chmod(qPrintable(d), mode_t(modeDossier)) == 0);
        const QString donne = lien ? ici.filePath("lien.sqlite") : fichier;
        QVERIFY(!lien || QFile::link(fichier, donne));
        int code = -1;
        const QString sortie =
            executer(PAVONIS_GIR, {"--parametres", donne, PAVONIS_EXEMPLES "/evaluations.csv"}, &code, env_);
        QCOMPARE(code, raison.isEmpty() ? 0 : 1);
        QVERIFY2(raison.isEmpty() ||
                     (sortie.contains("Refus du fichier de paramètres « " + donne + " » : ") &&
                      sortie.contains(raison)),
                 qPrintable(sortie));
    }

    // A pipe gives an evaluation in pieces: it is read to its end.
    void tubeLuJusquAuBout()
    {
        const QByteArray json = exemple("Claire", std::string(70 * 1024, 'x'));
        QProcess p;
        p.setProcessEnvironment(env_);
        const QString pdf = dossier_.filePath("tube.pdf");
        p.start(PAVONIS_RAPPORT, {"-", "-o", pdf, "--parametres", magasin_});
        QVERIFY(p.waitForStarted());
        for (qsizetype i = 0; i < json.size(); i += 4096) {
            p.write(json.mid(i, 4096));
            QVERIFY(p.waitForBytesWritten());
        }
        p.closeWriteChannel();
        QVERIFY(p.waitForFinished(60000));
        QVERIFY2(p.exitCode() == 0, p.readAllStandardError().constData());
        QVERIFY(lireFichier(pdf).startsWith("%PDF-"));
    }

    // The archive's XMP packet stays well-formed XML whatever the names
    // hold: the characters XML 1.0 forbids are left out, the others kept.
    void archiveBienFormee()
    {
        std::string evaluateur;
        for (char c = 1; c < 0x20; ++c)
            evaluateur += c;
        const QString source = dossier_.filePath("controles.json"), pdf = dossier_.filePath("controles.pdf");
        ecrireFichier(source, exemple(evaluateur + "Anne <&> \"Lévêque\"", "B\x1b\x7f"));
        int code = -1;
        const QString sortie =
            executer(PAVONIS_RAPPORT, {source, "-o", pdf, "--pdfa", "--parametres", magasin_}, &code, env_);
        QVERIFY2(code == 0, qPrintable(sortie));
        const QByteArray octets = lireFichier(pdf);
        const qsizetype debut = octets.indexOf("<x:xmpmeta"), fin = octets.indexOf("</x:xmpmeta>");
        QVERIFY(debut > 0 && fin > debut);
        QXmlStreamReader xml(octets.mid(debut, fin + 12 - debut));
        QStringList textes;
        while (!xml.atEnd())
            if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("li"))
                textes << xml.readElementText();
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        // dc:title, dc:creator (the evaluator), dc:description (the beneficiary);
        // blanks run together as in the names printed on the page.
        QCOMPARE(textes.mid(1), QStringList({" Anne <&> \"Lévêque\"", "B\x7f"}));
    }
};

QTEST_GUILESS_MAIN(TestSurete)
#include "tst_surete.moc"
