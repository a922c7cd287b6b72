// The component runtime with the real control library: registration and
// its exact undoing, creation by programmatic id, and when the library may
// be unloaded.

#include "CodesStatut.h"
#include "Composants.h"
#include "RegistreComposants.h"

#include <pavonis/IUc_Pavonis.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLibrary>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

using namespace pavonis;

namespace {

const QString kBibliotheque = QStringLiteral(PAVONIS_OCX);

QByteArray lireFichier(const QString& chemin)
{
    QFile f(chemin);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestComposants : public QObject {
    Q_OBJECT

    QTemporaryDir dossier_;
    QString registre_;

private slots:
    void init()
    {
        registre_ = dossier_.path() + "/registre-" + QTest::currentTestFunction() + ".json";
        qputenv("PAVONIS_REGISTRE", registre_.toUtf8());
    }

    // Registration writes the library's identity; unregistration removes
    // exactly that and leaves what others registered.
    void allerRetourDEnregistrement()
    {
        const QByteArray autre = R"({"ProgID": {"Autre.Composant": {"CLSID": "{0000}"}}})";
        QFile f(registre_);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(autre);
        f.close();
        const QByteArray avant = QJsonDocument::fromJson(autre).toJson(QJsonDocument::Indented);

        QCOMPARE(Composants::appelerEnregistrement(kBibliotheque, true), statut::kOk);
        const QJsonObject r = RegistreComposants::lire();
        const QString clsid = r["ProgID"]["Pavonis.Uc_Pavonis"]["CLSID"].toString();
        QVERIFY(!clsid.isEmpty());
        const QJsonObject classe = r["CLSID"][clsid].toObject();
        QCOMPARE(classe["classe"].toString(), "Uc_Pavonis");
        QCOMPARE(classe["ThreadingModel"].toString(), "Apartment");
        QCOMPARE(classe["InprocServer32"].toString(), QFileInfo(kBibliotheque).absoluteFilePath());
        QVERIFY(classe["InprocServer32"].toString().endsWith("/Orvalis.ocx"));
        QCOMPARE(classe["MiscStatus"].toInt(), 0x20000 | 0x100 | 0x80 | 0x10 | 0x1);
        QCOMPARE(classe["MiscStatusNoms"].toArray().size(), 5);
        const QString libid = classe["TypeLib"].toString();
        QCOMPARE(r["TypeLib"][libid]["1.0"]["nom"].toString(), "Pavonis");
        QCOMPARE(r["Interface"][IUc_Pavonis::kIid]["nom"].toString(), "_Uc_Pavonis");
        QCOMPARE(r["Interface"].toObject().size(), 2);
        QVERIFY(r["ProgID"].toObject().contains("Autre.Composant"));

        // Registering twice changes nothing.
        const QByteArray une = lireFichier(registre_);
        QCOMPARE(Composants::appelerEnregistrement(kBibliotheque, true), statut::kOk);
        QCOMPARE(lireFichier(registre_), une);

        QCOMPARE(Composants::appelerEnregistrement(kBibliotheque, false), statut::kOk);
        QCOMPARE(QJsonDocument::fromJson(lireFichier(registre_)).toJson(QJsonDocument::Indented), avant);
    }

    void creationParIdentifiant()
    {
        QWidget fenetre;
        QVERIFY_THROWS_EXCEPTION(Erreur, Composants::creerControle<IUc_Pavonis>("Pavonis.Uc_Pavonis", &fenetre));
        QCOMPARE(Composants::appelerEnregistrement(kBibliotheque, true), statut::kOk);
        QCOMPARE(Composants::peutDecharger(kBibliotheque), statut::kOk);

        IUc_Pavonis* c = Composants::creerControle<IUc_Pavonis>("Pavonis.Uc_Pavonis", &fenetre);
        QVERIFY(c);
        QCOMPARE(c->widget()->parentWidget(), &fenetre);
        QVERIFY(c->widget()->findChild<QWidget*>("Cac_ToiletteHS"));
        QCOMPARE(Composants::peutDecharger(kBibliotheque), statut::kFaux);

        // A wrong interface is refused by the factory.
        try {
            Composants::creerControle("Pavonis.Uc_Pavonis", "{00000000-0000-0000-0000-000000000000}", &fenetre);
            QFAIL("unknown interface accepted");
        } catch (const Erreur& e) {
            QVERIFY(QString::fromUtf8(e.what()).contains("0x80004002"));
        }

        delete c->widget();
        QCOMPARE(Composants::peutDecharger(kBibliotheque), statut::kOk);
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
        QCOMPARE(objetClasse("{B3F2A7D4-1C5E-4A8B-9D6F-2E7C0A9B1D53}", "{x}", &p), statut::kPasDInterface);
        QCOMPARE(objetClasse("{B3F2A7D4-1C5E-4A8B-9D6F-2E7C0A9B1D53}", IFabriqueClasse::kIid, &p), statut::kOk);
        auto* fabrique = static_cast<IFabriqueClasse*>(p);
        fabrique->LockServer(true);
        QCOMPARE(Composants::peutDecharger(kBibliotheque), statut::kFaux);
        fabrique->LockServer(false);
        QCOMPARE(Composants::peutDecharger(kBibliotheque), statut::kOk);
    }

    void registreAbime()
    {
        QFile f(registre_);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("{ pas du json");
        f.close();
        QCOMPARE(Composants::appelerEnregistrement(kBibliotheque, true), statut::kEnregistrementClasse);
        QCOMPARE(lireFichier(registre_), QByteArray("{ pas du json"));
        QWidget fenetre;
        try {
            Composants::creerControle<IUc_Pavonis>("Pavonis.Uc_Pavonis", &fenetre);
            QFAIL("a damaged registry must not be read");
        } catch (const Erreur& e) {
            QVERIFY(QString::fromUtf8(e.what()).contains("abîmé"));
        }
    }

    void bibliothequeIntrouvable()
    {
        QVERIFY_THROWS_EXCEPTION(Erreur, Composants::appelerEnregistrement(dossier_.path() + "/absente.ocx", true));
        QVERIFY_THROWS_EXCEPTION(Erreur, Composants::creerObjet("Velmor.Inconnue"));
    }
};

QTEST_MAIN(TestComposants)
#include "tst_composants.moc"
