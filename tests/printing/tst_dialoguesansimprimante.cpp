// No printer at all (the print server is not there): the dialog stays
// usable, Ok is refused, Annuler prints nothing; archiving to PDF still works.

#include "EcranEssai.h"
#include "PiloteModal.h"

#include <Frm_ImpressionA4.h>
#include <ImpressionEvaluation.h>
#include <ModVar.h>
#include <Printer.h>

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace pavonis;
using impression::Frm_ImpressionA4;

class TestDialogueSansImprimante : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(QPrinterInfo::availablePrinterNames().isEmpty()); }

    void listeVide()
    {
        Frm_ImpressionA4 d;
        QCOMPARE(d.findChild<QComboBox*>(QStringLiteral("Cbo_Imprimante"))->count(), 0);
        QCOMPARE(d.findChild<QComboBox*>(QStringLiteral("Cbo_ImpSelect"))->count(), 0);
        QCOMPARE(d.findChild<QLabel*>(QStringLiteral("Etq_LibEtat"))->text(),
                 QStringLiteral("Aucune imprimante disponible"));
        QCOMPARE(d.findChild<QLabel*>(QStringLiteral("Etq_LibOu"))->text(), QString());
        auto* ok = d.findChild<QPushButton*>(QStringLiteral("Cmd_Ok"));
        QVERIFY(!ok->isEnabled());
        ok->click();
        QVERIFY(d.result() != QDialog::Accepted);
        QVERIFY(d.findChild<QPushButton*>(QStringLiteral("Cmd_Annuler"))->isEnabled());
        QCOMPARE(plateforme::Printer::courante().DeviceName(), QString());
    }

    void annulerSansImprimante()
    {
        EcranEssai ecran;
        ecran.show();
        PiloteModal pilote("pavonis::impression::Frm_ImpressionA4", [](QWidget& w) {
            w.findChild<QPushButton*>(QStringLiteral("Cmd_Annuler"))->click();
        });
        impression::ImprimerEvaluation(ecran);
        QVERIFY(pilote.fait());
        QVERIFY(impression::ModVar::courant().ImpressionAnnulee);
        QVERIFY(ecran.isEnabled());
        QVERIFY(!ecran.testAttribute(Qt::WA_SetCursor));
    }

    void archivageSansImprimante()
    {
        EcranEssai ecran;
        ecran.zone("Txt_NomBenef").setText(QStringLiteral("MARTIN Louise"));
        QTemporaryDir dossier;
        const QString chemin = dossier.filePath(QStringLiteral("archive.pdf"));
        impression::ExporterPdf(ecran, chemin);
        QFile f(chemin);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(f.read(5) == "%PDF-");
    }
};

QTEST_MAIN(TestDialogueSansImprimante)
#include "tst_dialoguesansimprimante.moc"
