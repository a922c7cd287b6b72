// The print dialog when the printer set changes between two openings: the
// remembered default printer is gone, and its remembered position is then
// either taken by another printer or past the end of the list.

#include <Frm_ImpressionA4.h>
#include <ModVar.h>

#include <QComboBox>
#include <QLabel>
#include <QPrinterInfo>
#include <QProcess>
#include <QTest>

using namespace pavonis;
using impression::Frm_ImpressionA4;

namespace {

bool lpadmin(const QStringList& arguments)
{
    QProcess p;
    p.start(QStringLiteral("lpadmin"), arguments);
    return p.waitForFinished(30000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

bool ajouter(const QString& file)
{
    return lpadmin({QStringLiteral("-p"), file, QStringLiteral("-E"), QStringLiteral("-v"),
                    QStringLiteral("file:///dev/null"), QStringLiteral("-m"), QStringLiteral("raw")});
}

bool retirer(const QString& file)
{
    return lpadmin({QStringLiteral("-x"), file});
}

struct Ouverture {
    QStringList liste;
    QString choisie;
    QString etat;
    QString etatDerniere; // status once the last entry is selected
};

Ouverture ouvrir()
{
    Frm_ImpressionA4 d;
    auto* liste = d.findChild<QComboBox*>(QStringLiteral("Cbo_Imprimante"));
    auto* etat = d.findChild<QLabel*>(QStringLiteral("Etq_LibEtat"));
    Ouverture o;
    for (int i = 0; i < liste->count(); ++i)
        o.liste << liste->itemText(i);
    o.choisie = liste->currentText();
    o.etat = etat->text();
    liste->setCurrentIndex(liste->count() - 1);
    o.etatDerniere = etat->text();
    return o;
}

const QString kUn = QStringLiteral("Zz_Pavonis_Un");
const QString kDeux = QStringLiteral("Zz_Pavonis_Deux");

} // namespace

class TestDialogueImprimanteDisparue : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(ajouter(kUn));
        qputenv("LPDEST", kUn.toLocal8Bit());
        QCOMPARE(QPrinterInfo::defaultPrinterName(), kUn);
    }

    void cleanupTestCase()
    {
        retirer(kUn);
        retirer(kDeux);
    }

    void defautDisparu()
    {
        const Ouverture premiere = ouvrir();
        QCOMPARE(premiere.liste, QStringList({"Bureau_Fichier", "Pavonis_PDF", kUn}));
        QCOMPARE(premiere.choisie, kUn);
        QCOMPARE(premiere.etat, QStringLiteral("Imprimante par défaut"));
        QCOMPARE(Frm_ImpressionA4::indexImprimanteDefaut(), qint16(2));

        // Another printer now stands at the remembered position: it is not
        // the default printer and is not shown as such.
        QVERIFY(retirer(kUn));
        QVERIFY(ajouter(kDeux));
        const Ouverture remplacee = ouvrir();
        QCOMPARE(remplacee.liste, QStringList({"Bureau_Fichier", "Pavonis_PDF", kDeux}));
        QCOMPARE(remplacee.choisie, QStringLiteral("Bureau_Fichier"));
        QCOMPARE(remplacee.etat, QString());
        QCOMPARE(remplacee.etatDerniere, QString());

        // The remembered position is past the end of the list.
        QVERIFY(retirer(kDeux));
        const Ouverture courte = ouvrir();
        QCOMPARE(courte.liste, QStringList({"Bureau_Fichier", "Pavonis_PDF"}));
        QCOMPARE(courte.choisie, QStringLiteral("Bureau_Fichier"));
        QCOMPARE(courte.etat, QString());
        QCOMPARE(Frm_ImpressionA4::indexImprimanteDefaut(), qint16(-1));

        // The default printer comes back: it is found again.
        QVERIFY(ajouter(kUn));
        const Ouverture retour = ouvrir();
        QCOMPARE(retour.choisie, kUn);
        QCOMPARE(retour.etat, QStringLiteral("Imprimante par défaut"));
        QCOMPARE(impression::ModVar::courant().NomImprimanteDefaut, kUn);
    }
};

QTEST_MAIN(TestDialogueImprimanteDisparue)
#include "tst_dialogueimprimantedisparue.moc"
