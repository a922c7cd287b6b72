// The component runtime with the real library: pavonis-regsvr, creation, wrong registries, locks.

#include "OutilsEssai.h"
#include <pavonis/platform/CodesStatut.h>
#include <pavonis/platform/Composants.h>
#include <pavonis/platform/RegistreComposants.h>

#include <pavonis/control/IUc_Pavonis.h>

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLibrary>
#include <QLockFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QWidget>

#include <sys/stat.h>
#include <unistd.h>

using namespace pavonis;
using namespace pavonis::essai;

class TestComposants : public QObject {
    Q_OBJECT

    inline static const QString kOcx = PAVONIS_OCX, kClasse = "{B3F2A7D4-1C5E-4A8B-9D6F-2E7C0A9B1D53}";
    inline static const char* const kNul = "{00000000-0000-0000-0000-000000000000}";

    QTemporaryDir dossier_;
    QString registre_, machine_;
    int essai_ = 0;

    static QString erreurCreation() // by its programmatic id; empty: created
    {
        QWidget fenetre;
        return erreurDe([&] { Composants::creerControle<IUc_Pavonis>("Pavonis.Uc_Pavonis", &fenetre); });
    }

private slots:
    void init()
    {
        qputenv("PAVONIS_REGISTRE", (registre_ = dossier_.filePath(QString("u%1").arg(++essai_))).toUtf8());
        qputenv("PAVONIS_REGISTRE_MACHINE", (machine_ = registre_ + ".machine").toUtf8());
    }

    // docs/integration.md: what pavonis-regsvr writes (after another's lock), once; -u, /u remove just that.
    void regsvr_data()
    {
        colonnes<bool, QString>();
        for (const bool m : {false, true})
            for (const char* r : {"-u", "/u"})
                QTest::addRow("%s, %s", m ? "--machine" : "utilisateur", r) << m << QString(r);
    }
    void regsvr()
    {
        const auto [machine, retrait] = ligne<bool, QString>();
        const QString fichier = machine ? machine_ : registre_, autre = machine ? registre_ : machine_;
        const QStringList m{"--machine"}, ici = m.mid(!machine), ailleurs = m.mid(machine);
        const auto regsvr = [](QStringList a) { return lancer(PAVONIS_REGSVR, a << kOcx); };
        const QByteArray avant = R"({"ProgID": {"Autre.Composant": {"CLSID": "{0000}"}}})";
        QLockFile verrou(fichier + ".verrou");
        QProcess p;
        QVERIFY(verrou.lock());
        p.start(PAVONIS_REGSVR, ici + QStringList(kOcx));
        QVERIFY(p.waitForStarted() && !p.waitForFinished(1500)); // still waiting for the lock
        ecrireFichier(fichier, avant);
        verrou.unlock();
        QVERIFY(p.waitForFinished(20000) && p.exitCode() == 0);
        QCOMPARE(QString::fromUtf8(p.readAllStandardOutput()), kOcx + " enregistrée (" + fichier + ").\n");
        QVERIFY(!QFile::exists(autre));
        const QJsonObject r = lireJson(fichier), c = r["CLSID"][kClasse].toObject();
        QCOMPARE(QJsonArray({r["ProgID"]["Pavonis.Uc_Pavonis"]["CLSID"], c["classe"], c["ThreadingModel"],
                             c["InprocServer32"], c["MiscStatus"],
                             r["TypeLib"][c["TypeLib"].toString()]["1.0"]["nom"],
                             r["Interface"][IUc_Pavonis::kIid]["nom"]}),
                 QJsonArray({kClasse, "Uc_Pavonis", "Apartment", QFileInfo(kOcx).absoluteFilePath(),
                             0x20000 | 0x100 | 0x80 | 0x10 | 0x1, "Pavonis", "_Uc_Pavonis"}));
        QVERIFY(r["Interface"].toObject().size() == 2 && r["ProgID"].toObject().contains("Autre.Composant"));
        const auto t = RegistreComposants::classe("pavonis.uc_pavonis"); // any case
        QVERIFY(t && t->portee == RegistreComposants::Portee(machine) && t->idClasse == kClasse);
        QVERIFY(regsvr(ici).code == 0 && lireJson(fichier) == r);
        const Execution e = regsvr(ici + QStringList{retrait});
        QCOMPARE(QString::number(e.code) + e.sortie, "0" + kOcx + " désenregistrée (" + fichier + ").\n");
        QCOMPARE(lireJson(fichier), QJsonDocument::fromJson(avant).object());
        QVERIFY(regsvr(ailleurs + QStringList{retrait}).code == 0 && !QFile::exists(autre));
        // The user's entry wins over the machine's for the same class, ids in any case.
        QCOMPARE(regsvr(ici).code, 0);
        ecrireFichier(registre_, R"({"ProgID": {"PAVONIS.UC_PAVONIS": {
            "CLSID": "{b3f2a7d4-1c5e-4a8b-9d6f-2e7c0a9b1d53}"}}, "CLSID": {"{B3F2A7D4-1C5E-4A8B-9D6F-2E7C0A9B1D53}":
            {"InprocServer32": "/a/Orvalis.ocx"}}})");
        const auto u = RegistreComposants::classe("Pavonis.Uc_Pavonis");
        QVERIFY(u && u->portee == RegistreComposants::Portee::Utilisateur && u->fichier == "/a/Orvalis.ocx");
    }

    // Refused, the registry as it was; one that is not a registry is named, never read as an empty one.
    void refus_data()
    {
        colonnes<QStringList, QByteArray, int, QString>();
        const auto cas = [](const char* nom, QStringList a, QByteArray r, int code, QString message) {
            QTest::newRow(nom) << a << r << code << message;
        };
        cas("sans bibliothèque", {"-u"}, {}, 2, "une bibliothèque, et une seule");
        cas("deux bibliothèques", {kOcx, kOcx}, {}, 2, "une bibliothèque, et une seule");
        cas("option inconnue", {"--tous", kOcx}, {}, 2, "tous");
        cas("bibliothèque absente", {"/nulle/part.ocx"}, {}, 1, "/nulle/part.ocx");
        cas("pas du JSON", {kOcx}, "{ pas du json", 1, "abîmé");
        cas("tableau, /u", {"/u", kOcx}, "[]", 1, "ce n'est pas un objet JSON");
        cas("groupe tableau", {kOcx}, R"({"ProgID": []})", 1, "« ProgID » devrait être un objet");
        cas("classe texte", {kOcx}, R"({"ProgID": {"Pavonis.Uc_Pavonis": "{X}"}})", 1,
            "« ProgID/Pavonis.Uc_Pavonis » devrait être un objet");
        cas("CLSID nombre", {kOcx}, R"({"ProgID": {"Pavonis.Uc_Pavonis": {"CLSID": 5}}})", 1,
            "« ProgID/Pavonis.Uc_Pavonis/CLSID » devrait être un texte");
        cas("chemin nul", {kOcx}, R"({"CLSID": {"{X}": {"InprocServer32": null}}})", 1,
            "« CLSID/{X}/InprocServer32 » devrait être un texte");
    }
    void refus()
    {
        const auto [arguments, registre, code, message] = ligne<QStringList, QByteArray, int, QString>();
        if (!registre.isEmpty())
            ecrireFichier(registre_, registre);
        const Execution e = lancer(PAVONIS_REGSVR, arguments);
        const QString texte = QString::fromUtf8(e.erreurs);
        QVERIFY2(e.code == code && texte.contains(message) &&
                     texte.contains(registre.isEmpty() ? message : registre_),
                 qPrintable(texte));
        QVERIFY(lireFichier(registre_) == registre && e.sortie.isEmpty() && !QFile::exists(machine_));
        QVERIFY2(erreurCreation().contains(registre.isEmpty() ? "Pavonis.Uc_Pavonis" : message),
                 qPrintable(erreurCreation()));
    }

    // Created by its id in its parent, held while it lives or the class factory is locked, then unloadable.
    void creationEtVerrous()
    {
        QWidget fenetre;
        QCOMPARE(Composants::appelerEnregistrement(kOcx, true), statut::kOk);
        QCOMPARE(Composants::peutDecharger(kOcx), statut::kOk);
        IUc_Pavonis* c = Composants::creerControle<IUc_Pavonis>("Pavonis.Uc_Pavonis", &fenetre);
        QVERIFY(c && c->widget()->parentWidget() == &fenetre &&
                c->widget()->findChild<QWidget*>("Cac_ToiletteHS"));
        QCOMPARE(Composants::peutDecharger(kOcx), statut::kFaux);
        const auto sansInterface = [&] { Composants::creerControle("Pavonis.Uc_Pavonis", kNul, &fenetre); };
        QVERIFY(erreurDe(sansInterface).contains("0x80004002"));
        delete c->widget();
        QCOMPARE(Composants::peutDecharger(kOcx), statut::kOk);
        QVERIFY(!erreurDe([] { Composants::creerObjet("Velmor.Inconnue"); }).isEmpty());
        const auto objetClasse = reinterpret_cast<std::int32_t (*)(const char*, const char*, void**)>(
            QLibrary::resolve(kOcx, "DllGetClassObject"));
        QVERIFY(objetClasse);
        void* p = nullptr;
        QCOMPARE(objetClasse(kNul, IFabriqueClasse::kIid, &p), statut::kClasseIndisponible);
        QCOMPARE(objetClasse(qPrintable(kClasse), "{x}", &p), statut::kPasDInterface);
        QCOMPARE(objetClasse(qPrintable(kClasse.toLower()), IFabriqueClasse::kIid, &p), statut::kOk);
        static_cast<IFabriqueClasse*>(p)->LockServer(true);
        QCOMPARE(Composants::peutDecharger(kOcx), statut::kFaux);
        static_cast<IFabriqueClasse*>(p)->LockServer(false);
        QCOMPARE(Composants::peutDecharger(kOcx), statut::kOk);
    }

    // docs/surete.md: registry, library or folders others may change load nothing (no message: created).
    void confiance_data()
    {
        colonnes<QString, int, QString>();
        const auto cas = [](const char* n, QString c, int m, QString r) { QTest::newRow(n) << c << m << r; };
        cas("registre 0666", "r/registre.json", 0666, "json » : il est modifiable par tous.");
        cas("registre 0664", "r/registre.json", 0664, "json » : il est modifiable par son groupe.");
        cas("dossier 0777", "r", 0777, "/r » est modifiable par tous.");
        cas("dossier collant", "r", 01777, "");
        cas("lien vers 0666", "r/lien.json", 0666, "lien.json » : c'est un lien symbolique vers « ");
        cas("bibliotheque relative", "", 0, "par un chemin relatif : refusée.");
        cas("bibliotheque 0666", "b/Orvalis.ocx", 0666, "ocx » : il est modifiable par tous.");
        cas("dossier de la bibliotheque 0777", "b", 0777, "/b » est modifiable par tous.");
    }
    void confiance()
    {
        const auto [cible, mode, motif] = ligne<QString, int, QString>();
        QTemporaryDir ici;
        const QString b = ici.filePath("b/Orvalis.ocx"), r = ici.filePath("r/registre.json");
        QVERIFY(QDir(ici.path()).mkpath("r") && QDir(ici.path()).mkpath("b") && QFile::copy(kOcx, b) &&
                QFile::link(r, ici.filePath("r/lien.json"))); // our own copy: is it loaded?
        QCOMPARE(lancer(PAVONIS_REGSVR, {b}, {}, avec("PAVONIS_REGISTRE", r)).code,
                 0); // another process: nothing loaded here
        qputenv("PAVONIS_REGISTRE", (cible.contains("lien") ? ici.filePath(cible) : r).toUtf8());
        if (mode == 0)
            ecrireFichier(r, lireFichier(r).replace(b.toUtf8(), "b/Orvalis.ocx"));
        else
            QVERIFY(chmod(qPrintable(ici.filePath(cible)), mode_t(mode)) == 0);
        QDir::setCurrent(ici.path()); // where a relative path would lead
        const QString erreur = erreurCreation();
        QVERIFY2(motif.isEmpty() ? erreur.isEmpty() : erreur.contains(motif), qPrintable(erreur));
        QCOMPARE(lireFichier("/proc/self/maps").contains(b.toUtf8()), motif.isEmpty());
    }

    // The machine's registry is readable by all whatever the umask; a user who may not write it is told.
    void registreMachine()
    {
        const QString machine = machine_ + "/etc/pavonis/registre.json";
        const QProcessEnvironment env = avec("PAVONIS_REGISTRE_MACHINE", machine);
        QCOMPARE(lancer(PAVONIS_REGSVR, {"--machine", kOcx}, {}, env, [] { umask(0); }).code, 0);
        struct stat s {};
        QVERIFY(stat(qPrintable(machine), &s) == 0 && (s.st_mode & 07777) == 0644);
        QVERIFY(stat(qPrintable(machine_ + "/etc/pavonis"), &s) == 0 && (s.st_mode & 07777) == 0755);
        if (geteuid() != 0)
            QSKIP("root seul peut agir comme un autre utilisateur");
        QVERIFY(chmod(qPrintable(dossier_.path()), 0755) == 0);
        int code = -1;
        const QString sortie = executer(PAVONIS_REGSVR, {"--machine", "/u", kOcx}, &code, env, commePersonne);
        QVERIFY2(code == 1 && sortie.contains(machine + " ne peut pas être écrit : permission refusée"),
                 qPrintable(sortie));
    }
};

QTEST_MAIN(TestComposants)
#include "tst_composants.moc"
