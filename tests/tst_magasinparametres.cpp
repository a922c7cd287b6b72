// The stand-alone parameter store: seeding, reading through the host
// interfaces, creation by programs starting together, and every way a
// store can be wrong -- each refused with an error naming the problem.

#include "OutilsEssai.h"
#include <pavonis/host/BaseDonneesAutonome.h>
#include <pavonis/host/EntreeParametre.h>
#include <pavonis/host/MagasinParametres.h>

#include <pavonis/hostapi/ISectionParametres.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cstdlib>
#include <functional>

using namespace pavonis;
using namespace pavonis::essai;

namespace {

std::shared_ptr<IEntreeParametre> entree(IBaseDonnees& base, const std::string& section,
                                         const std::string& cle)
{
    auto s = convertir<ISectionParametres>(base.Section(section), section);
    return convertir<IEntreeParametre>(s->Section(cle), cle);
}

} // namespace

class TestMagasinParametres : public QObject {
    Q_OBJECT

    QTemporaryDir dossier_;
    std::string chemin(const QString& nom) const { return (dossier_.path() + '/' + nom).toStdString(); }

private slots:
    // A new store holds the published weights and the directory, read
    // through the host's interfaces; opening it again keeps it as it is.
    void creationEtRelecture()
    {
        const std::string f = chemin("neuf.sqlite");
        auto magasin = MagasinParametres::ouvrir(f, "/opt/pavonis/data/");
        magasin->verifierParametresAggir();
        BaseDonneesAutonome base(magasin);
        // Group B, rows Cohérence and Déplacements intérieurs (published).
        QCOMPARE(entree(base, "AGGIRPARAM", "B")->Valeur(1, 2), 1500.0);
        QCOMPARE(entree(base, "AGGIRPARAM", "B")->Valeur(8, 1), -40.0);
        QCOMPARE(entree(base, "AGGIRPARAM", "H")->Valeur(7, 2), 1000.0);
        QCOMPARE(entree(base, "CHEMINFICHIER", "1")->Texte(1, -1, -1), "/opt/pavonis/data/");
        magasin->ecrireValeur("AGGIRPARAM", "B", 1, 2, 7);
        magasin.reset();
        auto rouvert = MagasinParametres::ouvrir(f, "/ailleurs/data/");
        BaseDonneesAutonome base2(rouvert);
        QCOMPARE(entree(base2, "AGGIRPARAM", "B")->Valeur(1, 2), 7.0);
        QCOMPARE(entree(base2, "CHEMINFICHIER", "1")->Texte(1, -1, -1), "/opt/pavonis/data/");
        QVERIFY(erreurDe([&] { MagasinParametres::creer(f, "/x/data/"); }).contains("existe déjà"));
    }

    // Every way a store is wrong, named: the section, the entry, the cell.
    void refus_data() { tableDonnees("magasin-refus.tsv", {"sql", "attendu", "viaHote"}); }
    void refus()
    {
        QFETCH(QString, sql);
        QFETCH(QString, attendu);
        QFETCH(QString, viaHote);
        const std::string f = chemin(QStringLiteral("refus-%1.sqlite").arg(QTest::currentDataTag()));
        MagasinParametres::ouvrir(f, "/opt/pavonis/data/")->executer(sql.toStdString());
        const QString m =
            erreurDe([&] { MagasinParametres::ouvrir(f, "/x/data/")->verifierParametresAggir(); });
        QVERIFY2(m.contains(attendu) && m.contains(QString::fromStdString(f)), qPrintable(m));
        if (viaHote != "1")
            return;
        const QString h = erreurDe([&] {
            BaseDonneesAutonome base(MagasinParametres::ouvrir(f, "/x/data/"));
            for (const char* c : {"A", "B", "C", "D", "E", "F", "G", "H"})
                entree(base, "AGGIRPARAM", c)->Valeur(4, 2);
        });
        QVERIFY2(h.contains(attendu), qPrintable(h));
    }

    // Files that are not stores: never opened, never replaced.
    void fichiersQuiNeSontPasDesMagasins()
    {
        const std::string f = chemin("abime.sqlite");
        QFile fichier(QString::fromStdString(f));
        QVERIFY(fichier.open(QIODevice::WriteOnly));
        fichier.write(QByteArray(4096, 'x'));
        fichier.close();
        QVERIFY(erreurDe([&] { MagasinParametres::ouvrir(f, "/x/data/"); }).contains("abime.sqlite"));
        QCOMPARE(QFileInfo(fichier).size(), 4096);
        // A link to nothing is named as such, and stays a link.
        const std::string lien = chemin("lien.sqlite");
        QVERIFY(QFile::link(dossier_.path() + "/nulle-part/x.sqlite", QString::fromStdString(lien)));
        QVERIFY(
            erreurDe([&] { MagasinParametres::ouvrir(lien, "/x/data/"); }).contains("lien symbolique vers"));
        QVERIFY(QFileInfo(QString::fromStdString(lien)).isSymLink());
        // A creation that fails names the store and leaves nothing behind.
        const std::string impossible = chemin("abime.sqlite/dessous.sqlite");
        const QString m = erreurDe([&] { MagasinParametres::ouvrir(impossible, "/x/data/"); });
        QVERIFY2(m.contains("dessous.sqlite") && !m.contains(".creation"), qPrintable(m));
        QCOMPARE(QDir(dossier_.path()).entryList({"*.creation*"}, QDir::Files).size(), 0);
    }

    // Programs starting together on a new store all end with the same one.
    void programmesSimultanes()
    {
        for (int essai = 0; essai < 5; ++essai) {
            const QString f = QString::fromStdString(chemin(QStringLiteral("course-%1.sqlite").arg(essai)));
            std::vector<std::unique_ptr<QProcess>> enfants;
            for (int i = 0; i < 4; ++i) {
                auto p = std::make_unique<QProcess>();
                QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
                env.insert("PAVONIS_ESSAI_MAGASIN", f);
                p->setProcessEnvironment(env);
                p->start(QCoreApplication::applicationFilePath(), {});
                enfants.push_back(std::move(p));
            }
            for (auto& p : enfants) {
                QVERIFY(p->waitForFinished(30000));
                QVERIFY2(p->exitCode() == 0, p->readAllStandardError().constData());
            }
            MagasinParametres::ouvrirExistant(f.toStdString())->verifierParametresAggir();
            QCOMPARE(QDir(dossier_.path()).entryList({"*.creation*"}, QDir::Files).size(), 0);
        }
    }

    // A fresh entry takes another's value as a copy; foreign entries are refused.
    void affectationParValeur()
    {
        auto magasin = MagasinParametres::ouvrir(chemin("valeur.sqlite"), "/opt/pavonis/data/");
        BaseDonneesAutonome base(magasin);
        auto fraiche = EntreeParametre::creer();
        QVERIFY(erreurDe([&] { fraiche->Valeur(1, 1); }).contains("table de travail"));
        fraiche->DefinirValeur(entree(base, "AGGIRPARAM", "E"));
        magasin->ecrireValeur("AGGIRPARAM", "E", 6, 2, 1);
        QCOMPARE(fraiche->Valeur(6, 2), 800.0);
        struct Etrangere : IEntreeParametre {
            std::string Texte(std::int16_t, std::int16_t, std::int16_t) override { return {}; }
            double Valeur(std::int16_t, std::int16_t) override { return 0; }
            void DefinirValeur(const std::shared_ptr<IEntreeParametre>&) override {}
        };
        QVERIFY(erreurDe([&] {
                    fraiche->DefinirValeur(std::make_shared<Etrangere>());
                }).contains("autre bibliothèque"));
        QVERIFY(
            erreurDe([&] { entree(base, "AGGIRPARAM", "E")->Texte(1, 2, -1); }).contains("Texte(1, 2, -1)"));
    }
};

int main(int argc, char** argv)
{
    // A child of programmesSimultanes: opens (and maybe creates) the store.
    if (const char* f = std::getenv("PAVONIS_ESSAI_MAGASIN")) {
        try {
            MagasinParametres::ouvrir(f, "/opt/pavonis/data/")->verifierParametresAggir();
            return 0;
        } catch (const Erreur& e) {
            std::fputs(e.what(), stderr);
            return 1;
        }
    }
    QCoreApplication app(argc, argv);
    TestMagasinParametres t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_magasinparametres.moc"
