// Printing from the evaluation screen itself: "Imprimer" on the real control
// lists the private server's printers and prints to its PDF queue; the
// control's PDF export; and the demo host doing both from a scenario.

#include "HoteEssai.h"
#include "PiloteModal.h"

#include <pavonis/Erreur.h>

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace pavonis;
using namespace pavonis::essai;

namespace {

QDir dossierPdf() { return QDir(qEnvironmentVariable("PAVONIS_CUPS_PDF")); }
QStringList pdfs() { return dossierPdf().entryList({QStringLiteral("*.pdf")}, QDir::Files); }

QString executer(const QString& programme, const QStringList& arguments, int* code = nullptr)
{
    QProcess p;
    p.start(programme, arguments);
    p.waitForFinished(60000);
    if (code)
        *code = p.exitCode();
    return QString::fromUtf8(p.readAllStandardOutput()) + QString::fromUtf8(p.readAllStandardError());
}

// Waits for a complete new file of cups-pdf; `info` gets what pdfinfo says.
void attendreNouveauPdf(const QStringList& avant, QString& info)
{
    QTRY_VERIFY_WITH_TIMEOUT(
        [&] {
            for (const QString& f : pdfs())
                if (!avant.contains(f)) {
                    int code = 1;
                    info = executer("pdfinfo", {dossierPdf().filePath(f)}, &code);
                    return code == 0;
                }
            return false;
        }(),
        60000);
}

} // namespace

class TestImpressionControle : public QObject {
    Q_OBJECT

private slots:
    void imprimerDepuisLEcran()
    {
        HoteEssai hote;
        Uc_Pavonis* c = hote.creerControle();
        hote.fenetre().show();
        QVERIFY(QTest::qWaitForWindowExposed(&hote.fenetre()));
        c->Init();
        cliquer(*c, "Opt_ToiletteHFaitPas");
        cliquer(*c, "Cac_ToiletteHS");
        const QString groupe = texte(*c, "Txt_Groupe");

        QStringList proposees;
        PiloteModal dialogue("pavonis::impression::Frm_ImpressionA4", [&](QWidget& d) {
            auto* liste = d.findChild<QComboBox*>("Cbo_Imprimante");
            for (int i = 0; i < liste->count(); ++i)
                proposees << liste->itemText(i);
            liste->setCurrentIndex(liste->findText("Pavonis_PDF"));
            d.findChild<QPushButton*>("Cmd_Ok")->click();
        });
        const QStringList avant = pdfs();
        cliquer(*c, "Cmd_Imprimer");
        QVERIFY(dialogue.fait());
        // The dot-matrix queues (Atelier_Matricielle, Stock_mAtRiCe) are not offered.
        QCOMPARE(proposees, QStringList({"Bureau_Fichier", "Pavonis_PDF"}));
        QString info;
        attendreNouveauPdf(avant, info);
        if (QTest::currentTestFailed())
            return;
        QVERIFY2(info.contains(QRegularExpression("Pages:\\s+1\\n")), qPrintable(info));
        QVERIFY2(info.contains("(A4)"), qPrintable(info));
        // The control is given back, its evaluation untouched.
        QVERIFY(c->isEnabled());
        QCOMPARE(texte(*c, "Txt_Groupe"), groupe);
        QCOMPARE(texte(*c, "Txt_ToiletteHNote"), "B");
    }

    void exporterPdf()
    {
        HoteEssai hote;
        Uc_Pavonis* c = hote.creerControle();
        c->Init();
        taper(enfant(*c, "Txt_NomBenef"), "Jeanne Martin");
        taper(enfant(*c, "Txt_NomEnqueteur"), "Claire Dupuis");
        cliquer(*c, "Opt_AlerterFaitPas");
        QTemporaryDir dossier;
        const QString pdf = dossier.filePath("evaluation.pdf");
        c->ExporterPdf(pdf);
        const QString texteDuPdf = executer("pdftotext", {"-layout", pdf, "-"});
        for (const char* attendu : {"Jeanne Martin", "Claire Dupuis", "10- Alerter", "17- Cohérence", "GIR",
                                    "Variables illustratives"})
            QVERIFY2(texteDuPdf.contains(QString::fromUtf8(attendu)), attendu);
        QVERIFY_THROWS_EXCEPTION(Erreur, c->ExporterPdf(dossier.filePath("absent/evaluation.pdf")));
    }

    // The demo host prints from a scenario and writes the PDF after it.
    void depuisLHoteDeDemonstration()
    {
        QTemporaryDir dossier;
        const QString scenario = dossier.filePath("s.txt");
        QFile f(scenario);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("saisir Txt_NomBenef Jeanne Martin\n"
                "cliquer Opt_TransfertsFaitPas\n"
                "cliquer Cmd_Imprimer\n"
                "choisir Cbo_Imprimante Pavonis_PDF\n"
                "effacer Txt_NbCopies\n"
                "saisir Txt_NbCopies 2\n"
                "cliquer Cmd_Ok\n");
        f.close();
        const QStringList avant = pdfs();
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_DATA_HOME", dossier.path());
        env.insert("XDG_CONFIG_HOME", dossier.path());
        p.setProcessEnvironment(env);
        const QString pdf = dossier.filePath("archive.pdf");
        p.start(PAVONIS_HOTE, {"--scenario", scenario, "--pdf", pdf});
        QVERIFY(p.waitForFinished(60000));
        QVERIFY2(p.exitCode() == 0, p.readAllStandardError().constData());
        QString info;
        attendreNouveauPdf(avant, info);
        if (QTest::currentTestFailed())
            return;
        QVERIFY2(info.contains(QRegularExpression("Pages:\\s+2\\n")), qPrintable(info));
        QVERIFY(executer("pdftotext", {pdf, "-"}).contains("Jeanne Martin"));

        // A scenario that leaves the dialog open is told so, and does not hang.
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("cliquer Cmd_Imprimer\nchoisir Cbo_Imprimante Bureau_Fichier\n");
        f.close();
        p.start(PAVONIS_HOTE, {"--scenario", scenario});
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(p.exitCode(), 2);
        QVERIFY(QString::fromUtf8(p.readAllStandardError()).contains("« Annuler »"));
    }
};

QTEST_MAIN(TestImpressionControle)
#include "tst_impressioncontrole.moc"
