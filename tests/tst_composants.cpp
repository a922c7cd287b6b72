// The component runtime with the real control library: registration and
// its exact undoing (user's and machine's registry), creation by
// programmatic id, registries that must not be read or rewritten, programs
// registering at the same time, and when the library may be unloaded.

#include "OutilsEssai.h"
#include <pavonis/platform/CodesStatut.h>
#include <pavonis/platform/Composants.h>
#include <pavonis/platform/RegistreComposants.h>

#include <pavonis/control/IUc_Pavonis.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLibrary>
#include <QLockFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace pavonis;
using namespace pavonis::essai;

namespace {

const QString kBibliotheque = QStringLiteral(PAVONIS_OCX);
const QString kClasse = QStringLiteral("{B3F2A7D4-1C5E-4A8B-9D6F-2E7C0A9B1D53}");

} // namespace

class TestComposants : public QObject {
    Q_OBJECT

    QTemporaryDir dossier_;
    QString registre_, machine_;

private slots:
    void init()
    {
        const QString nom = QString(QTest::currentTestFunction()) + '-' + QTest::currentDataTag() + ".json";
        registre_ = dossier_.path() + "/utilisateur-" + nom;
        machine_ = dossier_.path() + "/machine-" + nom;
        qputenv("PAVONIS_REGISTRE", registre_.toUtf8());
        qputenv("PAVONIS_REGISTRE_MACHINE", machine_.toUtf8());
    }

    // Registration writes the library's identity; unregistration removes
    // exactly that and leaves what others registered; twice is once.
    void allerRetour_data()
    {
        QTest::addColumn<bool>("machine");
        QTest::newRow("utilisateur") << false;
        QTest::newRow("machine") << true;
    }
    void allerRetour()
    {
        QFETCH(bool, machine);
        const auto portee =
            machine ? RegistreComposants::Portee::Machine : RegistreComposants::Portee::Utilisateur;
        const QString fichier = machine ? machine_ : registre_;
        const QByteArray autre = R"({"ProgID": {"Autre.Composant": {"CLSID": "{0000}"}}})";
        ecrireFichier(fichier, autre);

        QCOMPARE(Composants::appelerEnregistrement(kBibliotheque, true, portee), statut::kOk);
        QVERIFY(!QFile::exists(machine ? registre_ : machine_));
        const QJsonObject r = RegistreComposants::lire(portee);
        QCOMPARE(r["ProgID"]["Pavonis.Uc_Pavonis"]["CLSID"].toString(), kClasse);
        const QJsonObject classe = r["CLSID"][kClasse].toObject();
        QCOMPARE(classe["classe"].toString(), "Uc_Pavonis");
        QCOMPARE(classe["ThreadingModel"].toString(), "Apartment");
        QCOMPARE(classe["InprocServer32"].toString(), QFileInfo(kBibliotheque).absoluteFilePath());
        QCOMPARE(classe["MiscStatus"].toInt(), 0x20000 | 0x100 | 0x80 | 0x10 | 0x1);
        QCOMPARE(r["TypeLib"][classe["TypeLib"].toString()]["1.0"]["nom"].toString(), "Pavonis");
        QCOMPARE(r["Interface"][IUc_Pavonis::kIid]["nom"].toString(), "_Uc_Pavonis");
        QCOMPARE(r["Interface"].toObject().size(), 2);
        QVERIFY(r["ProgID"].toObject().contains("Autre.Composant"));
        const auto trouvee = RegistreComposants::classe("pavonis.uc_pavonis"); // any case
        QVERIFY(trouvee && trouvee->portee == portee && trouvee->idClasse == kClasse);

        const QByteArray une = lireFichier(fichier);
        QCOMPARE(Composants::appelerEnregistrement(kBibliotheque, true, portee), statut::kOk);
        QCOMPARE(lireFichier(fichier), une);
        QCOMPARE(Composants::appelerEnregistrement(kBibliotheque, false, portee), statut::kOk);
        QCOMPARE(QJsonDocument::fromJson(lireFichier(fichier)), QJsonDocument::fromJson(autre));
        // Unregistering where nothing is registered creates nothing.
        QCOMPARE(
            Composants::appelerEnregistrement(kBibliotheque, false, RegistreComposants::Portee(!machine)),
            statut::kOk);
        QVERIFY(!QFile::exists(machine ? registre_ : machine_));
    }

    // The user's entry wins over the machine's for the same class, ids
    // compared without regard to case.
    void utilisateurAvantMachine()
    {
        QCOMPARE(Composants::appelerEnregistrement(kBibliotheque, true, RegistreComposants::Portee::Machine),
                 statut::kOk);
        ecrireFichier(
            registre_,
            R"({"ProgID": {"PAVONIS.UC_PAVONIS": {"CLSID": "{b3f2a7d4-1c5e-4a8b-9d6f-2e7c0a9b1d53}"}},
                                     "CLSID": {"{B3F2A7D4-1C5E-4A8B-9D6F-2E7C0A9B1D53}": {"InprocServer32": "/ailleurs/Orvalis.ocx"}}})");
        auto c = RegistreComposants::classe("Pavonis.Uc_Pavonis");
        QVERIFY(c && c->portee == RegistreComposants::Portee::Utilisateur);
        QCOMPARE(c->fichier, "/ailleurs/Orvalis.ocx");
        QFile::remove(registre_);
        c = RegistreComposants::classe("Pavonis.Uc_Pavonis");
        QVERIFY(c && c->portee == RegistreComposants::Portee::Machine);
        QCOMPARE(c->fichier, QFileInfo(kBibliotheque).absoluteFilePath());
    }

    void creationParIdentifiant()
    {
        QWidget fenetre;
        QVERIFY(erreurDe([&] {
                    Composants::creerControle<IUc_Pavonis>("Pavonis.Uc_Pavonis", &fenetre);
                }).contains("Pavonis.Uc_Pavonis"));
        QCOMPARE(Composants::appelerEnregistrement(kBibliotheque, true), statut::kOk);
        QCOMPARE(Composants::peutDecharger(kBibliotheque), statut::kOk);
        IUc_Pavonis* c = Composants::creerControle<IUc_Pavonis>("Pavonis.Uc_Pavonis", &fenetre);
        QVERIFY(c);
        QCOMPARE(c->widget()->parentWidget(), &fenetre);
        QVERIFY(c->widget()->findChild<QWidget*>("Cac_ToiletteHS"));
        QCOMPARE(Composants::peutDecharger(kBibliotheque), statut::kFaux);
        QVERIFY(erreurDe([&] {
                    Composants::creerControle("Pavonis.Uc_Pavonis", "{00000000-0000-0000-0000-000000000000}",
                                              &fenetre);
                }).contains("0x80004002"));
        delete c->widget();
        QCOMPARE(Composants::peutDecharger(kBibliotheque), statut::kOk);
        QVERIFY(!erreurDe([] { Composants::creerObjet("Velmor.Inconnue"); }).isEmpty());
    }

    void verrouDeLaFabrique()
    {
        QLibrary lib(kBibliotheque);
        QVERIFY(lib.load());
        using Objet = std::int32_t (*)(const char*, const char*, void**);
        auto objetClasse = reinterpret_cast<Objet>(lib.resolve("DllGetClassObject"));
        QVERIFY(objetClasse);
        void* p = nullptr;
        QCOMPARE(objetClasse("{00000000-0000-0000-0000-000000000000}", IFabriqueClasse::kIid, &p),
                 statut::kClasseIndisponible);
        QCOMPARE(objetClasse(qPrintable(kClasse), "{x}", &p), statut::kPasDInterface);
        QCOMPARE(objetClasse(qPrintable(kClasse), IFabriqueClasse::kIid, &p), statut::kOk);
        auto* fabrique = static_cast<IFabriqueClasse*>(p);
        fabrique->LockServer(true);
        QCOMPARE(Composants::peutDecharger(kBibliotheque), statut::kFaux);
        fabrique->LockServer(false);
        QCOMPARE(Composants::peutDecharger(kBibliotheque), statut::kOk);
    }

    // A file that is not a registry is named, left as it is, and never read
    // as an empty one.
    void registreAbime_data()
    {
        QTest::addColumn<QByteArray>("contenu");
        QTest::addColumn<QString>("motif");
        QTest::newRow("pas du JSON") << QByteArray("{ pas du json") << "abîmé";
        QTest::newRow("tableau") << QByteArray("[]") << "ce n'est pas un objet JSON";
        QTest::newRow("groupe tableau")
            << QByteArray(R"({"ProgID": []})") << "« ProgID » devrait être un objet";
        QTest::newRow("classe texte") << QByteArray(R"({"ProgID": {"Pavonis.Uc_Pavonis": "{X}"}})")
                                      << "« ProgID/Pavonis.Uc_Pavonis » devrait être un objet";
        QTest::newRow("CLSID nombre") << QByteArray(R"({"ProgID": {"Pavonis.Uc_Pavonis": {"CLSID": 5}}})")
                                      << "« ProgID/Pavonis.Uc_Pavonis/CLSID » devrait être un texte";
        QTest::newRow("chemin nul") << QByteArray(R"({"CLSID": {"{X}": {"InprocServer32": null}}})")
                                    << "« CLSID/{X}/InprocServer32 » devrait être un texte";
    }
    void registreAbime()
    {
        QFETCH(QByteArray, contenu);
        QFETCH(QString, motif);
        ecrireFichier(registre_, contenu);
        QCOMPARE(Composants::appelerEnregistrement(kBibliotheque, true), statut::kEnregistrementClasse);
        QVERIFY2(Composants::derniereErreur().contains(motif), qPrintable(Composants::derniereErreur()));
        QVERIFY(Composants::derniereErreur().contains(registre_));
        QCOMPARE(lireFichier(registre_), contenu);
        QWidget fenetre;
        QVERIFY(erreurDe([&] {
                    Composants::creerControle<IUc_Pavonis>("Pavonis.Uc_Pavonis", &fenetre);
                }).contains(motif));
    }

    // A registry is trusted as the dynamic loader trusts its configuration:
    // when the registry, the library it names, or a folder holding either
    // may be changed by someone else, nothing is loaded and the message
    // names the file and why. A folder with the sticky bit is fine for a
    // registry of one's own.
    void confiance_data()
    {
        QTest::addColumn<QString>("defaut");
        QTest::addColumn<QString>("motif"); // empty: the control is created
        QTest::newRow("registre 0666") << "registre"
                                       << "registre.json » : il est modifiable par tous.";
        QTest::newRow("registre 0664") << "registre groupe"
                                       << "registre.json » : il est modifiable par son groupe.";
        QTest::newRow("dossier 0777") << "dossier"
                                      << "/r » est modifiable par tous.";
        QTest::newRow("dossier collant") << "collant"
                                         << "";
        QTest::newRow("lien vers 0666") << "lien"
                                        << "lien.json » : c'est un lien symbolique vers « ";
        QTest::newRow("bibliotheque relative") << "relative"
                                               << "par un chemin relatif : refusée.";
        QTest::newRow("bibliotheque 0666") << "bibliotheque"
                                           << "Orvalis.ocx » : il est modifiable par tous.";
        QTest::newRow("dossier de la bibliotheque 0777") << "dossier bibliotheque"
                                                         << "/b » est modifiable par tous.";
    }
    void confiance()
    {
        QFETCH(QString, defaut);
        QFETCH(QString, motif);
        QTemporaryDir ici;
        QDir(ici.path()).mkpath("r");
        QDir(ici.path()).mkpath("b");
        // A copy of the library of our own, to tell whether it was loaded.
        const QString bibliotheque = ici.filePath("b/Orvalis.ocx"),
                      registre = ici.filePath("r/registre.json");
        QVERIFY(QFile::copy(kBibliotheque, bibliotheque));
        qputenv("PAVONIS_REGISTRE", registre.toUtf8());
        int code = -1;
        executer(PAVONIS_REGSVR, {bibliotheque}, &code); // another process: nothing loaded here
        QCOMPARE(code, 0);
        const auto mode = [](const QString& f, mode_t m) { QVERIFY(chmod(qPrintable(f), m) == 0); };
        if (defaut == "registre")
            mode(registre, 0666);
        else if (defaut == "registre groupe")
            mode(registre, 0664);
        else if (defaut == "dossier")
            mode(ici.filePath("r"), 0777);
        else if (defaut == "collant")
            mode(ici.filePath("r"), 01777);
        else if (defaut == "lien") {
            mode(registre, 0666);
            QVERIFY(QFile::link(registre, ici.filePath("r/lien.json")));
            qputenv("PAVONIS_REGISTRE", ici.filePath("r/lien.json").toUtf8());
        } else if (defaut == "relative")
            ecrireFichier(registre, lireFichier(registre).replace(bibliotheque.toUtf8(), "b/Orvalis.ocx"));
        else if (defaut == "bibliotheque")
            mode(bibliotheque, 0666);
        else
            mode(ici.filePath("b"), 0777);
        QDir::setCurrent(ici.path()); // where a relative path would lead
        QWidget fenetre;
        const QString erreur =
            erreurDe([&] { Composants::creerControle<IUc_Pavonis>("Pavonis.Uc_Pavonis", &fenetre); });
        QVERIFY2(motif.isEmpty() ? erreur.isEmpty() : erreur.contains(motif), qPrintable(erreur));
        QCOMPARE(lireFichier("/proc/self/maps").contains(bibliotheque.toUtf8()), motif.isEmpty());
    }

    // The machine's registry is written for every user to read, whatever the
    // umask of whoever installs; a user who may not write it is told so.
    void registreMachine()
    {
        QTemporaryDir ici;
        const QString machine = ici.filePath("etc/pavonis/registre.json");
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("PAVONIS_REGISTRE_MACHINE", machine);
        int code = -1;
        QString sortie = executer(PAVONIS_REGSVR, {"--machine", kBibliotheque}, &code, env, [] { umask(0); });
        QVERIFY2(code == 0, qPrintable(sortie));
        struct stat s {};
        QVERIFY(stat(qPrintable(machine), &s) == 0 && (s.st_mode & 07777) == 0644);
        QVERIFY(stat(qPrintable(ici.filePath("etc/pavonis")), &s) == 0 && (s.st_mode & 07777) == 0755);
        if (geteuid() != 0)
            QSKIP("root seul peut agir comme un autre utilisateur");
        QVERIFY(chmod(qPrintable(ici.path()), 0755) == 0);
        sortie = executer(PAVONIS_REGSVR, {"--machine", "/u", kBibliotheque}, &code, env, [] {
            if (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0)
                _exit(125);
        });
        QCOMPARE(code, 1);
        QVERIFY2(sortie.contains(machine + " ne peut pas être écrit : permission refusée"),
                 qPrintable(sortie));
    }

    // A program registering while another holds the registry waits for it,
    // then keeps what the other wrote.
    void programmesSimultanes()
    {
        QLockFile verrou(registre_ + ".verrou");
        QVERIFY(verrou.lock());
        QProcess regsvr;
        regsvr.start(QStringLiteral(PAVONIS_REGSVR), {kBibliotheque});
        QVERIFY(regsvr.waitForStarted());
        QVERIFY(!regsvr.waitForFinished(1500)); // still waiting for the lock
        ecrireFichier(registre_, R"({"ProgID": {"Autre.Composant": {"CLSID": "{0000}"}}})");
        verrou.unlock();
        QVERIFY(regsvr.waitForFinished(20000));
        QCOMPARE(regsvr.exitCode(), 0);
        const QJsonObject r = RegistreComposants::lire();
        QVERIFY(r["ProgID"].toObject().contains("Autre.Composant"));
        QVERIFY(r["ProgID"].toObject().contains("Pavonis.Uc_Pavonis"));
    }

    void bibliothequeIntrouvable()
    {
        QVERIFY(!erreurDe([&] {
                     Composants::appelerEnregistrement(dossier_.path() + "/absente.ocx", true);
                 }).isEmpty());
        QVERIFY(!QFile::exists(registre_));
    }
};

QTEST_MAIN(TestComposants)
#include "tst_composants.moc"
