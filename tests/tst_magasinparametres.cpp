// The stand-alone parameter store: seeding, reading through the host
// interfaces, and every way a store can be wrong.

#include "BaseDonneesAutonome.h"
#include "EntreeParametre.h"
#include "MagasinParametres.h"

#include <pavonis/ISectionParametres.h>

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

using namespace pavonis;

namespace {

std::shared_ptr<IEntreeParametre> entree(IBaseDonnees& base, const std::string& section, const std::string& cle)
{
    auto s = convertir<ISectionParametres>(base.Section(section), section);
    return convertir<IEntreeParametre>(s->Section(cle), cle);
}

// Runs `f`, expects an Erreur of `code` whose message contains every part.
void attendreErreur(const std::function<void()>& f, Erreur::Code code,
                    std::initializer_list<const char*> parties)
{
    try {
        f();
    } catch (const Erreur& e) {
        QCOMPARE(e.code(), code);
        for (const char* p : parties)
            QVERIFY2(QString::fromUtf8(e.what()).contains(QString::fromUtf8(p)), e.what());
        return;
    }
    QFAIL("no error raised");
}

} // namespace

class TestMagasinParametres : public QObject {
    Q_OBJECT

    QTemporaryDir dossier_;
    std::string chemin(const char* nom) const { return (dossier_.path() + '/' + nom).toStdString(); }

private slots:
    void creationEtRelecture()
    {
        const std::string f = chemin("sous/dossier/p.sqlite");
        auto magasin = MagasinParametres::ouvrir(f, "/opt/pavonis/data/");
        magasin->verifierParametresAggir();
        BaseDonneesAutonome base(magasin);

        QCOMPARE(entree(base, "CHEMINFICHIER", "1")->Texte(1, -1, -1), "/opt/pavonis/data/");
        QCOMPARE(entree(base, "CHEMINFICHIER", "1")->Texte(7, -1, -1), "avonis/data/");
        // A few published weights, read back through the interfaces.
        QCOMPARE(entree(base, "AGGIRPARAM", "A")->Valeur(1, 2), 2000.0);
        QCOMPARE(entree(base, "AGGIRPARAM", "B")->Valeur(8, 1), -40.0);
        QCOMPARE(entree(base, "AGGIRPARAM", "H")->Valeur(7, 2), 1000.0);

        // A second opening keeps what is there: nothing is seeded again.
        magasin->ecrireValeur("AGGIRPARAM", "A", 1, 2, 1999.5);
        magasin.reset();
        auto rouvert = MagasinParametres::ouvrir(f, "/ailleurs/data/");
        BaseDonneesAutonome base2(rouvert);
        QCOMPARE(entree(base2, "AGGIRPARAM", "A")->Valeur(1, 2), 1999.5);
        QCOMPARE(entree(base2, "CHEMINFICHIER", "1")->Texte(1, -1, -1), "/opt/pavonis/data/");
        QVERIFY_THROWS_EXCEPTION(Erreur, MagasinParametres::creer(f, "/x/data/"));
    }

    void sectionEtEntreeAbsentes()
    {
        auto magasin = MagasinParametres::ouvrir(chemin("absentes.sqlite"), "/opt/pavonis/data/");
        BaseDonneesAutonome base(magasin);
        attendreErreur([&] { base.Section("INCONNUE"); }, Erreur::Code::ParametreAbsent,
                       {"\"INCONNUE\"", "absentes.sqlite"});
        magasin->supprimerEntree("AGGIRPARAM", "C");
        attendreErreur([&] { entree(base, "AGGIRPARAM", "C"); }, Erreur::Code::ParametreAbsent,
                       {"\"C\"", "\"AGGIRPARAM\""});
        attendreErreur([&] { magasin->verifierParametresAggir(); }, Erreur::Code::ParametreInvalide,
                       {"\"C\"", "manque"});
        magasin->supprimerSection("CHEMINFICHIER");
        attendreErreur([&] { base.Section("CHEMINFICHIER"); }, Erreur::Code::ParametreAbsent,
                       {"\"CHEMINFICHIER\""});
    }

    void tableDeMauvaiseForme()
    {
        auto magasin = MagasinParametres::ouvrir(chemin("forme.sqlite"), "/opt/pavonis/data/");
        BaseDonneesAutonome base(magasin);

        magasin->supprimerValeur("AGGIRPARAM", "D", 10, 1);
        magasin->supprimerValeur("AGGIRPARAM", "D", 10, 2);
        attendreErreur([&] { magasin->verifierParametresAggir(); }, Erreur::Code::ParametreInvalide,
                       {"\"D\"", "ligne 10, colonne 1"});
        attendreErreur([&] { entree(base, "AGGIRPARAM", "D")->Valeur(10, 1); }, Erreur::Code::ParametreAbsent,
                       {"ligne 10, colonne 1", "\"D\"", "\"AGGIRPARAM\""});

        magasin->ecrireValeur("AGGIRPARAM", "D", 10, 1, 0);
        magasin->ecrireValeur("AGGIRPARAM", "D", 10, 2, 0);
        magasin->ecrireValeur("AGGIRPARAM", "E", 3, 3, 7);
        attendreErreur([&] { magasin->verifierParametresAggir(); }, Erreur::Code::ParametreInvalide,
                       {"\"E\"", "ligne 3, colonne 3", "hors de la table"});
        magasin->executer("DELETE FROM valeurs WHERE cle = 'E' AND colonne = 3;");

        magasin->supprimerValeur("AGGIRPARAM", "F", 4, 2);
        attendreErreur([&] { magasin->verifierParametresAggir(); }, Erreur::Code::ParametreInvalide,
                       {"\"F\"", "ligne 4, colonne 2"});
        magasin->ecrireValeur("AGGIRPARAM", "F", 4, 2, 500);
        magasin->verifierParametresAggir();

        magasin->executer("UPDATE valeurs SET valeur = 'beaucoup' WHERE cle = 'G' AND ligne = 2 AND colonne = 2;");
        attendreErreur([&] { entree(base, "AGGIRPARAM", "G"); }, Erreur::Code::ParametreInvalide,
                       {"\"beaucoup\"", "n'est pas un nombre"});

        magasin->ecrireValeur("AGGIRPARAM", "G", 2, 2, 150);
        magasin->verifierParametresAggir();
        magasin->ecrireEntree("CHEMINFICHIER", "1", "abcd");
        attendreErreur([&] { magasin->verifierParametresAggir(); }, Erreur::Code::ParametreInvalide,
                       {"moins de 5 caractères"});
    }

    // A damaged or foreign file is reported and left exactly as it was.
    void fichiersIllisibles_data()
    {
        QTest::addColumn<QByteArray>("contenu");
        QTest::addColumn<QString>("attendu");
        QTest::newRow("octets quelconques") << QByteArray(4096, 'x') << "lecture impossible";
        QByteArray tronque("SQLite format 3\0", 16);
        tronque += QByteArray(80, '\0');
        QTest::newRow("en-tete sqlite tronque") << tronque << "impossible";
    }

    void fichiersIllisibles()
    {
        QFETCH(QByteArray, contenu);
        QFETCH(QString, attendu);
        const std::string f = chemin("abime.sqlite");
        {
            QFile fichier(QString::fromStdString(f));
            QVERIFY(fichier.open(QIODevice::WriteOnly | QIODevice::Truncate));
            fichier.write(contenu);
        }
        try {
            MagasinParametres::ouvrir(f, "/opt/pavonis/data/");
            QFAIL("a damaged file must not open");
        } catch (const Erreur& e) {
            QCOMPARE(e.code(), Erreur::Code::Stockage);
            QVERIFY2(QString::fromUtf8(e.what()).contains("abime.sqlite"), e.what());
            QVERIFY2(QString::fromUtf8(e.what()).contains(attendu), e.what());
        }
        QFile relu(QString::fromStdString(f));
        QVERIFY(relu.open(QIODevice::ReadOnly));
        QCOMPARE(relu.readAll(), contenu);
    }

    void baseDUneAutreApplication()
    {
        const std::string f = chemin("autre.sqlite");
        {
            auto m = MagasinParametres::ouvrir(f, "/opt/pavonis/data/");
            m->executer("PRAGMA application_id = 42;");
        }
        attendreErreur([&] { MagasinParametres::ouvrir(f, "/opt/pavonis/data/"); }, Erreur::Code::Stockage,
                       {"autre application"});
        {
            auto m = MagasinParametres::ouvrir(chemin("incomplet.sqlite"), "/opt/pavonis/data/");
            m->executer("DROP TABLE valeurs;");
        }
        attendreErreur([&] { MagasinParametres::ouvrir(chemin("incomplet.sqlite"), "/x/data/"); },
                       Erreur::Code::Stockage, {"\"valeurs\""});
        attendreErreur([&] { MagasinParametres::ouvrirExistant(chemin("nulle-part.sqlite")); },
                       Erreur::Code::Stockage, {"n'existe pas"});
    }

    // Assignment by value: a fresh entry takes a copy of another entry.
    void affectationParValeur()
    {
        auto magasin = MagasinParametres::ouvrir(chemin("valeur.sqlite"), "/opt/pavonis/data/");
        BaseDonneesAutonome base(magasin);
        auto source = entree(base, "AGGIRPARAM", "E");
        auto fraiche = EntreeParametre::creer();
        attendreErreur([&] { fraiche->Valeur(1, 1); }, Erreur::Code::ParametreAbsent, {"table de travail"});
        fraiche->DefinirValeur(source);
        QCOMPARE(fraiche->Valeur(6, 2), 800.0);

        // Changing the store afterwards changes neither.
        magasin->ecrireValeur("AGGIRPARAM", "E", 6, 2, 1);
        QCOMPARE(fraiche->Valeur(6, 2), 800.0);
        QCOMPARE(source->Valeur(6, 2), 800.0);

        // Only an entry of this library can be copied.
        struct Etrangere : IEntreeParametre {
            std::string Texte(std::int16_t, std::int16_t, std::int16_t) override { return {}; }
            double Valeur(std::int16_t, std::int16_t) override { return 0; }
            void DefinirValeur(const std::shared_ptr<IEntreeParametre>&) override {}
        };
        attendreErreur([&] { fraiche->DefinirValeur(std::make_shared<Etrangere>()); },
                       Erreur::Code::InterfaceAbsente, {"autre bibliothèque"});
        QCOMPARE(fraiche->Valeur(6, 2), 800.0);
        attendreErreur([&] { fraiche->DefinirValeur(nullptr); }, Erreur::Code::ObjetAbsent, {});
        auto section = base.Section("AGGIRPARAM");
        attendreErreur([&] { convertir<IEntreeParametre>(section, "section"); }, Erreur::Code::InterfaceAbsente,
                       {"section"});
        attendreErreur([&] { convertir<ISectionParametres>(source, "entrée E"); }, Erreur::Code::InterfaceAbsente,
                       {"entrée E"});
        attendreErreur([&] { source->Texte(1, 2, -1); }, Erreur::Code::ParametreInvalide, {"Texte(1, 2, -1)"});
    }

    void cheminParDefaut()
    {
        qputenv("XDG_DATA_HOME", dossier_.path().toUtf8());
        QCOMPARE(QString::fromStdString(MagasinParametres::cheminParDefaut().string()),
                 dossier_.path() + "/pavonis/parametres.sqlite");
    }
};

QTEST_GUILESS_MAIN(TestMagasinParametres)
#include "tst_magasinparametres.moc"
