// The print dialog when the default printer is a dot-matrix one (the user's
// default is Atelier_Matricielle): it is not offered, and the first eligible
// printer becomes the default.

#include <Frm_ImpressionA4.h>
#include <ModVar.h>

#include <QComboBox>
#include <QLabel>
#include <QPrinterInfo>
#include <QTest>

using namespace pavonis;
using impression::Frm_ImpressionA4;

class TestDialogueDefautMatricielle : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QCOMPARE(QPrinterInfo::defaultPrinterName(), QStringLiteral("Atelier_Matricielle"));
    }

    void premiereImprimanteEligible()
    {
        Frm_ImpressionA4 d;
        auto* liste = d.findChild<QComboBox*>(QStringLiteral("Cbo_Imprimante"));
        auto* etat = d.findChild<QLabel*>(QStringLiteral("Etq_LibEtat"));
        QCOMPARE(liste->count(), 2);
        QCOMPARE(liste->itemText(0), QStringLiteral("Bureau_Fichier"));
        QCOMPARE(liste->itemText(1), QStringLiteral("Pavonis_PDF"));
        QCOMPARE(liste->currentIndex(), 0);
        QCOMPARE(etat->text(), QStringLiteral("Imprimante par défaut"));
        QCOMPARE(impression::ModVar::courant().NomImprimanteDefaut, QStringLiteral("Bureau_Fichier"));
        liste->setCurrentIndex(1);
        QCOMPARE(etat->text(), QString());
    }

    // Later openings keep that choice.
    void reouverture()
    {
        Frm_ImpressionA4 d;
        QCOMPARE(d.findChild<QComboBox*>(QStringLiteral("Cbo_Imprimante"))->currentText(),
                 QStringLiteral("Bureau_Fichier"));
        QCOMPARE(d.findChild<QLabel*>(QStringLiteral("Etq_LibEtat"))->text(),
                 QStringLiteral("Imprimante par défaut"));
    }
};

QTEST_MAIN(TestDialogueDefautMatricielle)
#include "tst_dialoguedefautmatricielle.moc"
