// The parameter store: seeding, reading through the host, programs creating it together, refusals.

#include "OutilsEssai.h"
#include "TablesEssai.h"
#include <pavonis/host/BaseDonneesAutonome.h>
#include <pavonis/host/EntreeParametre.h>
#include <pavonis/host/MagasinParametres.h>

#include <pavonis/hostapi/ISectionParametres.h>

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

using namespace pavonis;
using namespace pavonis::essai;

static std::shared_ptr<IEntreeParametre> entree(IBaseDonnees& b, const std::string& s, const std::string& c)
{
    return convertir<IEntreeParametre>(convertir<ISectionParametres>(b.Section(s), s)->Section(c), c);
}

class TestMagasinParametres : public QObject {
    Q_OBJECT

    QTemporaryDir dossier_;
    std::string chemin(const QString& nom) const { return dossier_.filePath(nom).toStdString(); }
    bool sansReste() const { return QDir(dossier_.path()).entryList({"*.creation*"}, QDir::Files).isEmpty(); }

private slots:
    // A new store holds the decree's weights and the directory; opening it again keeps it as it is.
    void creationEtRelecture()
    {
        const std::string f = chemin("neuf.sqlite");
        BaseDonneesAutonome base(MagasinParametres::ouvrir(f, "/opt/pavonis/data/"));
        base.magasin()->verifierParametresAggir();
        for (int g = 0; g < 8; ++g)
            for (int l = 0; l < 20; ++l)
                QCOMPARE(entree(base, "AGGIRPARAM", {char('A' + g)})->Valeur(l / 2 + 1, l % 2 + 1),
                         kPoidsDuDecret[g][l / 2][l % 2]);
        QCOMPARE(entree(base, "CHEMINFICHIER", "1")->Texte(1, -1, -1), "/opt/pavonis/data/");
        base.magasin()->ecrireValeur("AGGIRPARAM", "B", 1, 2, 7);
        BaseDonneesAutonome relu(MagasinParametres::ouvrir(f, "/ailleurs/data/"));
        QCOMPARE(entree(relu, "AGGIRPARAM", "B")->Valeur(1, 2), 7.0);
        QCOMPARE(entree(relu, "CHEMINFICHIER", "1")->Texte(1, -1, -1), "/opt/pavonis/data/");
        QVERIFY(erreurDe([&] { MagasinParametres::creer(f, "/x/data/"); }).contains("existe déjà"));
    }

    // Every way a store is wrong, named: the section, the entry, the cell.
    void refus_data() { tableDonnees("magasin-refus.tsv", {"c0", "c1", "c2"}); }
    void refus()
    {
        const auto [sql, attendu, viaHote] = ligne<QString, QString, QString>();
        const std::string f = chemin(QStringLiteral("refus-%1.sqlite").arg(QTest::currentDataTag()));
        MagasinParametres::ouvrir(f, "/opt/pavonis/data/")->executer(sql.toStdString());
        const QString m = erreurDe([&] { MagasinParametres::ouvrir(f, "/x")->verifierParametresAggir(); });
        QVERIFY2(m.contains(attendu) && m.contains(QString::fromStdString(f)), qPrintable(m));
        const QString h = viaHote != "1" ? attendu : erreurDe([&] {
            BaseDonneesAutonome base(MagasinParametres::ouvrir(f, "/x/data/"));
            for (const char* c : {"A", "B", "C", "D", "E", "F", "G", "H"})
                entree(base, "AGGIRPARAM", c)->Valeur(4, 2);
        });
        QVERIFY2(h.contains(attendu), qPrintable(h));
    }

    // Files that are not stores are never opened nor replaced; a failed creation names it, leaves nothing.
    void fichiersQuiNeSontPasDesMagasins()
    {
        const QString f = dossier_.filePath("abime.sqlite"), lien = dossier_.filePath("lien.sqlite");
        const auto ouvrir = [](const QString& c) {
            return erreurDe([&] { MagasinParametres::ouvrir(c.toStdString(), "/x/data/"); });
        };
        ecrireFichier(f, QByteArray(4096, 'x'));
        QVERIFY(ouvrir(f).contains("abime.sqlite") && lireFichier(f) == QByteArray(4096, 'x'));
        QVERIFY(QFile::link(dossier_.filePath("nulle-part/x.sqlite"), lien) &&
                ouvrir(lien).contains("lien symbolique vers") && QFileInfo(lien).isSymLink());
        const QString m = ouvrir(f + "/dessous.sqlite");
        QVERIFY2(m.contains("dessous.sqlite") && !m.contains(".creation") && sansReste(), qPrintable(m));
    }

    // Programs starting together on a new store all end with the same one.
    void programmesSimultanes()
    {
        for (int essai = 0; essai < 5; ++essai) {
            const QString f = dossier_.filePath(QStringLiteral("course-%1.sqlite").arg(essai));
            qputenv("PAVONIS_ESSAI_MAGASIN", f.toUtf8()); // for the children
            std::array<QProcess, 4> enfants;
            for (QProcess& p : enfants)
                p.start(QCoreApplication::applicationFilePath(), {});
            for (QProcess& p : enfants)
                QVERIFY2(p.waitForFinished(30000) && p.exitCode() == 0, p.readAllStandardError().constData());
            MagasinParametres::ouvrirExistant(f.toStdString())->verifierParametresAggir();
            QVERIFY(sansReste());
        }
    }

    // A fresh entry takes another's value as a copy; foreign entries are refused.
    void affectationParValeur()
    {
        BaseDonneesAutonome base(MagasinParametres::ouvrir(chemin("valeur.sqlite"), "/opt/pavonis/data/"));
        const auto fraiche = EntreeParametre::creer(), e = entree(base, "AGGIRPARAM", "E");
        QVERIFY(erreurDe([&] { fraiche->Valeur(1, 1); }).contains("table de travail"));
        fraiche->DefinirValeur(e);
        base.magasin()->ecrireValeur("AGGIRPARAM", "E", 6, 2, 1);
        QCOMPARE(fraiche->Valeur(6, 2), kPoidsDuDecret[4][5][1]);
        struct Etrangere : IEntreeParametre {
            std::string Texte(std::int16_t, std::int16_t, std::int16_t) override { return {}; }
            double Valeur(std::int16_t, std::int16_t) override { return 0; }
            void DefinirValeur(const std::shared_ptr<IEntreeParametre>&) override {}
        };
        const auto etrangere = [&] { fraiche->DefinirValeur(std::make_shared<Etrangere>()); };
        QVERIFY(erreurDe(etrangere).contains("autre bibliothèque"));
        QVERIFY(erreurDe([&] { e->Texte(1, 2, -1); }).contains("Texte(1, 2, -1)"));
    }
};

int main(int argc, char** argv)
{
    // A child of programmesSimultanes: opens (and maybe creates) the store.
    if (const char* f = std::getenv("PAVONIS_ESSAI_MAGASIN")) {
        const QString e = erreurDe([&] { MagasinParametres::ouvrir(f, "/opt/")->verifierParametresAggir(); });
        std::fputs(qPrintable(e), stderr);
        return e.isEmpty() ? 0 : 1;
    }
    QCoreApplication app(argc, argv);
    TestMagasinParametres t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_magasinparametres.moc"
