// The print dialog against the private print server: the list of printers
// (dot-matrix ones left out), the default printer remembered once per
// thread, the port, the copies box and its spinner, Ok, Annuler, and the
// refusal of every other way out. Server queues, in order: Atelier_Matricielle,
// Bureau_Fichier, Pavonis_PDF (the server's default), Stock_mAtRiCe.

#include "PiloteModal.h"

#include <Frm_ImpressionA4.h>
#include <ModVar.h>
#include <Printer.h>
#include <Printers.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QWindow>

#include <cmath>

using namespace pavonis;
using impression::Frm_ImpressionA4;
using impression::ModVar;

namespace {

template <typename W> W* enfant(QWidget& d, const char* nom)
{
    return d.findChild<W*>(QString::fromLatin1(nom));
}

QStringList elements(QComboBox* c)
{
    QStringList s;
    for (int i = 0; i < c->count(); ++i)
        s << c->itemText(i);
    return s;
}

// The device URI as the print server's own client tells it.
QString uriSelonLpstat(const QString& file)
{
    QProcess p;
    p.start(QStringLiteral("lpstat"), {QStringLiteral("-v"), file});
    p.waitForFinished(30000);
    const QString ligne = QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
    const QString uri = ligne.section(QStringLiteral(": "), 1);
    // lpstat leaves out the scheme of file: URIs.
    return uri.startsWith(u'/') ? QStringLiteral("file:") + uri : uri;
}

int pixels(int twips)
{
    return int(std::lround(twips * QGuiApplication::primaryScreen()->logicalDotsPerInch() / 1440.0));
}

void montrer(QWidget& d)
{
    d.show();
    QApplication::setActiveWindow(&d);
    QVERIFY(QTest::qWaitForWindowActive(&d));
}

} // namespace

class TestDialogueImpression : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY2(qEnvironmentVariableIsSet("CUPS_SERVER"),
                 "run through ctest: needs the private print server");
        QCOMPARE(QPrinterInfo::availablePrinterNames(),
                 QStringList({"Atelier_Matricielle", "Bureau_Fichier", "Pavonis_PDF", "Stock_mAtRiCe"}));
        QCOMPARE(QPrinterInfo::defaultPrinterName(), QStringLiteral("Pavonis_PDF"));
    }

    // Runs first: the first opening on this thread reads the default printer.
    void premiereOuverture()
    {
        const ModVar& mv = ModVar::courant();
        QVERIFY(!mv.ImprimanteDefautLue);
        QCOMPARE(plateforme::Printer::courante().DeviceName(), QStringLiteral("Pavonis_PDF"));
        Frm_ImpressionA4 d;
        QVERIFY(d.chargementTermine());
        QVERIFY(mv.ImprimanteDefautLue && mv.ImprimanteDefautConnue);
        QCOMPARE(mv.NomImprimanteDefaut, QStringLiteral("Pavonis_PDF"));
        auto* visible = enfant<QComboBox>(d, "Cbo_Imprimante");
        auto* cachee = enfant<QComboBox>(d, "Cbo_ImpSelect");
        QCOMPARE(elements(visible), QStringList({"Bureau_Fichier", "Pavonis_PDF"}));
        QCOMPARE(elements(cachee), QStringList({"1", "2"}));
        QVERIFY(!cachee->isVisibleTo(&d));
        QVERIFY(!visible->isEditable());
        QCOMPARE(visible->currentText(), QStringLiteral("Pavonis_PDF"));
        QCOMPARE(Frm_ImpressionA4::indexImprimanteDefaut(), qint16(1));
        QCOMPARE(enfant<QLabel>(d, "Etq_LibEtat")->text(), QStringLiteral("Imprimante par défaut"));
        QCOMPARE(enfant<QLabel>(d, "Etq_LibOu")->text(), uriSelonLpstat(QStringLiteral("Pavonis_PDF")));
        // Loading walks the whole collection through the current printer.
        QCOMPARE(plateforme::Printer::courante().DeviceName(), QStringLiteral("Stock_mAtRiCe"));
        // ...and leaves the system's default printer alone.
        QCOMPARE(plateforme::Printers::nomParDefaut(), QStringLiteral("Pavonis_PDF"));
        QCOMPARE(enfant<QLineEdit>(d, "Txt_NbCopies")->text(), QStringLiteral("1"));
        QCOMPARE(enfant<QScrollBar>(d, "Bdh_NbCopies")->value(), 1);
    }

    void selection()
    {
        Frm_ImpressionA4 d;
        montrer(d);
        auto* liste = enfant<QComboBox>(d, "Cbo_Imprimante");
        auto* ok = enfant<QPushButton>(d, "Cmd_Ok");
        QCOMPARE(QApplication::focusWidget(), ok);
        liste->setFocus();
        QTest::keyClick(liste, Qt::Key_Up);
        QCOMPARE(liste->currentText(), QStringLiteral("Bureau_Fichier"));
        QCOMPARE(enfant<QLabel>(d, "Etq_LibEtat")->text(), QString());
        QCOMPARE(enfant<QLabel>(d, "Etq_LibOu")->text(), uriSelonLpstat(QStringLiteral("Bureau_Fichier")));
        QCOMPARE(QApplication::focusWidget(), ok);
        liste->setFocus();
        QTest::keyClick(liste, Qt::Key_Down);
        QCOMPARE(enfant<QLabel>(d, "Etq_LibEtat")->text(), QStringLiteral("Imprimante par défaut"));
        QCOMPARE(enfant<QLabel>(d, "Etq_LibOu")->text(), uriSelonLpstat(QStringLiteral("Pavonis_PDF")));
        QCOMPARE(QApplication::focusWidget(), ok);
    }

    void disposition_data()
    {
        QTest::addColumn<QString>("nom");
        QTest::addColumn<QRect>("twips");
        QTest::addColumn<QString>("texte");
        QTest::newRow("Fra_Imprimante") << "Fra_Imprimante" << QRect(120, 0, 4455, 1215) << "Imprimante";
        QTest::newRow("Etq_Nom") << "Etq_Nom" << QRect(120, 240, 495, 255) << "Nom :";
        QTest::newRow("Cbo_Imprimante") << "Cbo_Imprimante" << QRect(600, 240, 3615, 315) << "Bureau_Fichier";
        QTest::newRow("Cbo_ImpSelect") << "Cbo_ImpSelect" << QRect(2640, 240, 855, 315) << "1";
        QTest::newRow("Etq_Etat") << "Etq_Etat" << QRect(120, 600, 495, 255) << "Etat  :";
        QTest::newRow("Etq_LibEtat") << "Etq_LibEtat" << QRect(720, 600, 3135, 255)
                                     << "Imprimante par défaut";
        QTest::newRow("Etq_Ou") << "Etq_Ou" << QRect(120, 840, 495, 255) << "Où    :";
        QTest::newRow("Etq_LibOu") << "Etq_LibOu" << QRect(720, 840, 3135, 255) << "cups-pdf:/";
        QTest::newRow("Fra_Copies") << "Fra_Copies" << QRect(120, 1320, 4455, 615) << "Copies";
        QTest::newRow("Etq_NbCopies") << "Etq_NbCopies" << QRect(240, 240, 1455, 255) << "Nombre de copies :";
        QTest::newRow("Txt_NbCopies") << "Txt_NbCopies" << QRect(1800, 240, 855, 285) << "1";
        QTest::newRow("Bdh_NbCopies") << "Bdh_NbCopies" << QRect(2390, 240, 255, 265) << "1";
        QTest::newRow("Cmd_Ok") << "Cmd_Ok" << QRect(2760, 2040, 855, 375) << "Ok";
        QTest::newRow("Cmd_Annuler") << "Cmd_Annuler" << QRect(3720, 2040, 855, 375) << "Annuler";
    }

    void disposition()
    {
        QFETCH(QString, nom);
        QFETCH(QRect, twips);
        QFETCH(QString, texte);
        Frm_ImpressionA4 d;
        QCOMPARE(d.windowTitle(), QStringLiteral("Imprimer"));
        QCOMPARE(d.size(), QSize(pixels(4725), pixels(2490)));
        QWidget* w = d.findChild<QWidget*>(nom);
        QVERIFY(w);
        const QRect attendu(pixels(twips.x()), pixels(twips.y()),
                            pixels(twips.x() + twips.width()) - pixels(twips.x()),
                            pixels(twips.y() + twips.height()) - pixels(twips.y()));
        QCOMPARE(w->geometry(), attendu);
        QString lu;
        if (auto* l = qobject_cast<QLabel*>(w))
            lu = l->text();
        else if (auto* g = qobject_cast<QGroupBox*>(w))
            lu = g->title();
        else if (auto* b = qobject_cast<QPushButton*>(w))
            lu = b->text();
        else if (auto* c = qobject_cast<QComboBox*>(w))
            lu = c->itemText(0);
        else if (auto* t = qobject_cast<QLineEdit*>(w))
            lu = t->text();
        else if (auto* s = qobject_cast<QScrollBar*>(w))
            lu = QString::number(s->value());
        if (nom == QLatin1String("Etq_LibOu"))
            QVERIFY2(lu.startsWith(texte), qPrintable(lu));
        else
            QCOMPARE(lu, texte);
        // Children of the frames are placed in their frame.
        if (nom.startsWith(QLatin1String("Fra")) || nom.startsWith(QLatin1String("Cmd")))
            QCOMPARE(w->parentWidget(), &d);
        else if (nom.contains(QLatin1String("Copies")))
            QCOMPARE(w->parentWidget()->objectName(), QStringLiteral("Fra_Copies"));
        else
            QCOMPARE(w->parentWidget()->objectName(), QStringLiteral("Fra_Imprimante"));
    }

    void ordreTabulation()
    {
        Frm_ImpressionA4 d;
        montrer(d);
        QStringList ordre{QApplication::focusWidget()->objectName()};
        for (int i = 0; i < 5; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            ordre << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(ordre, QStringList({"Cmd_Ok", "Cbo_Imprimante", "Txt_NbCopies", "Bdh_NbCopies",
                                     "Cmd_Annuler", "Cmd_Ok"}));
    }

    // Digits only, no leading zero typed into an empty box, two at most;
    // backspace always; the rule looks at the whole box.
    void zoneCopies_data()
    {
        QTest::addColumn<QString>("avant");
        QTest::addColumn<bool>("toutSelectionne");
        QTest::addColumn<QString>("frappe"); // \b is backspace
        QTest::addColumn<QString>("apres");
        QTest::newRow("0 dans la case vide") << "" << false << "0"
                                             << "";
        QTest::newRow("1 puis 0") << "" << false << "10"
                                  << "10";
        QTest::newRow("troisieme chiffre") << "" << false << "105"
                                           << "10";
        QTest::newRow("lettres") << "" << false << "a1b"
                                 << "1";
        QTest::newRow("signes") << "" << false << "-+ .,e"
                                << "";
        QTest::newRow("signes apres un chiffre") << "4" << false << ".-"
                                                 << "4";
        QTest::newRow("zero apres un chiffre") << "5" << false << "0"
                                               << "50";
        QTest::newRow("retour arriere") << "12" << false << "\b"
                                        << "1";
        QTest::newRow("retour arriere case vide") << "" << false << "\b\b"
                                                  << "";
        QTest::newRow("retour arriere puis 0") << "1" << false << "\b0"
                                               << "";
        QTest::newRow("retour arriere puis 9") << "1" << false << "\b9"
                                               << "9";
        QTest::newRow("0 sur tout le texte choisi") << "12" << true << "0"
                                                    << "0";
        QTest::newRow("tout plein") << "99" << false << "1"
                                    << "99";
    }

    void zoneCopies()
    {
        QFETCH(QString, avant);
        QFETCH(bool, toutSelectionne);
        QFETCH(QString, frappe);
        QFETCH(QString, apres);
        Frm_ImpressionA4 d;
        montrer(d);
        auto* zone = enfant<QLineEdit>(d, "Txt_NbCopies");
        auto* compteur = enfant<QScrollBar>(d, "Bdh_NbCopies");
        QCOMPARE(zone->maxLength(), 2);
        zone->setFocus();
        zone->setText(avant);
        if (toutSelectionne)
            zone->selectAll();
        for (QChar c : frappe) {
            if (c == u'\b')
                QTest::keyClick(zone, Qt::Key_Backspace);
            else
                QTest::keyClicks(zone, QString(c));
        }
        QCOMPARE(zone->text(), apres);
        // Typing does not move the spinner.
        QCOMPARE(compteur->value(), 1);
    }

    // Deleting and pasting.
    void zoneCopiesEdition()
    {
        Frm_ImpressionA4 d;
        montrer(d);
        auto* zone = enfant<QLineEdit>(d, "Txt_NbCopies");
        zone->setFocus();
        zone->setText(QStringLiteral("10"));
        zone->setCursorPosition(0);
        QTest::keyClick(zone, Qt::Key_Delete);
        QCOMPARE(zone->text(), QStringLiteral("0"));
        QGuiApplication::clipboard()->setText(QStringLiteral("ab"));
        QTest::keySequence(zone, QKeySequence::Paste);
        QCOMPARE(zone->text(), QStringLiteral("0"));
        QCOMPARE(zone->contextMenuPolicy(), Qt::NoContextMenu);
    }

    // The upper arrow counts up, the lower one down, from 1 to 99.
    void compteur()
    {
        Frm_ImpressionA4 d;
        montrer(d);
        auto* compteur = enfant<QScrollBar>(d, "Bdh_NbCopies");
        auto* zone = enfant<QLineEdit>(d, "Txt_NbCopies");
        QCOMPARE(compteur->minimum(), 1);
        QCOMPARE(compteur->maximum(), 99);
        const QPoint haut(compteur->width() / 2, 2);
        const QPoint bas(compteur->width() / 2, compteur->height() - 3);
        QTest::mouseClick(compteur, Qt::LeftButton, {}, haut);
        QCOMPARE(compteur->value(), 2);
        QCOMPARE(zone->text(), QStringLiteral("2"));
        QTest::mouseClick(compteur, Qt::LeftButton, {}, haut);
        QCOMPARE(zone->text(), QStringLiteral("3"));
        QTest::mouseClick(compteur, Qt::LeftButton, {}, bas);
        QCOMPARE(zone->text(), QStringLiteral("2"));
        compteur->setFocus();
        QTest::keyClick(compteur, Qt::Key_Up);
        QCOMPARE(zone->text(), QStringLiteral("3"));
        QTest::keyClick(compteur, Qt::Key_Down);
        QTest::keyClick(compteur, Qt::Key_Down);
        QTest::keyClick(compteur, Qt::Key_Down);
        QCOMPARE(compteur->value(), 1);
        QCOMPARE(zone->text(), QStringLiteral("1"));
        QTest::mouseClick(compteur, Qt::LeftButton, {}, bas);
        QCOMPARE(compteur->value(), 1);
        compteur->setValue(99);
        QCOMPARE(zone->text(), QStringLiteral("99"));
        QTest::mouseClick(compteur, Qt::LeftButton, {}, haut);
        QCOMPARE(compteur->value(), 99);
        QCOMPARE(zone->text(), QStringLiteral("99"));
    }

    void annuler()
    {
        Frm_ImpressionA4 d;
        PiloteModal pilote("pavonis::impression::Frm_ImpressionA4",
                           [](QWidget& w) { enfant<QPushButton>(w, "Cmd_Annuler")->click(); });
        QCOMPARE(d.exec(), int(QDialog::Rejected));
        QVERIFY(pilote.fait());
        QVERIFY(ModVar::courant().ImpressionAnnulee);
        // The current printer is left as loading left it.
        QCOMPARE(plateforme::Printer::courante().DeviceName(), QStringLiteral("Stock_mAtRiCe"));
    }

    // Only Ok and Annuler close the dialog.
    void fermetureRefusee()
    {
        Frm_ImpressionA4 d;
        montrer(d);
        QVERIFY(!d.close());
        QVERIFY(d.isVisible());
        d.windowHandle()->close();
        QVERIFY(d.isVisible());
        QTest::keyClick(&d, Qt::Key_Escape);
        QVERIFY(d.isVisible());
        d.reject();
        QVERIFY(d.isVisible());
        // Enter is not bound to Ok: with the focus in the list it does nothing.
        enfant<QComboBox>(d, "Cbo_Imprimante")->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY(d.isVisible());
        QVERIFY(!enfant<QPushButton>(d, "Cmd_Ok")->isDefault());
        QVERIFY(!enfant<QPushButton>(d, "Cmd_Annuler")->autoDefault());
        QVERIFY(ModVar::courant().ImpressionAnnulee == false);
        enfant<QPushButton>(d, "Cmd_Annuler")->click();
        QVERIFY(!d.isVisible());
    }

    // Ok: the chosen printer becomes the current one, with the copies.
    void ok_data()
    {
        QTest::addColumn<QString>("copies");
        QTest::addColumn<int>("attendu");
        QTest::newRow("3") << "3" << 3;
        QTest::newRow("99") << "99" << 99;
        QTest::newRow("05") << "05" << 5;
        QTest::newRow("vide") << "" << 1;
        QTest::newRow("0") << "0" << 1;
    }

    void ok()
    {
        QFETCH(QString, copies);
        QFETCH(int, attendu);
        Frm_ImpressionA4 d;
        PiloteModal pilote("pavonis::impression::Frm_ImpressionA4", [&](QWidget& w) {
            enfant<QComboBox>(w, "Cbo_Imprimante")->setCurrentText(QStringLiteral("Bureau_Fichier"));
            enfant<QLineEdit>(w, "Txt_NbCopies")->setText(copies);
            enfant<QPushButton>(w, "Cmd_Ok")->click();
        });
        QCOMPARE(d.exec(), int(QDialog::Accepted));
        const ModVar& mv = ModVar::courant();
        QVERIFY(!mv.ImpressionAnnulee);
        QCOMPARE(int(mv.NbCopiesImpression), attendu);
        QCOMPARE(plateforme::Printer::courante().DeviceName(), QStringLiteral("Bureau_Fichier"));
        QCOMPARE(plateforme::Printer::courante().Port(), uriSelonLpstat(QStringLiteral("Bureau_Fichier")));
    }

    // Enter on the button that has the focus clicks it.
    void entreeSurOk()
    {
        Frm_ImpressionA4 d;
        PiloteModal pilote("pavonis::impression::Frm_ImpressionA4", [](QWidget& w) {
            QTest::keyClick(enfant<QPushButton>(w, "Cmd_Ok"), Qt::Key_Return);
        });
        QCOMPARE(d.exec(), int(QDialog::Accepted));
        QCOMPARE(plateforme::Printer::courante().DeviceName(), QStringLiteral("Pavonis_PDF"));
    }

    // Runs last: changes the user's default printer.
    void defautRetenu()
    {
        qputenv("LPDEST", "Bureau_Fichier");
        QCOMPARE(plateforme::Printers::nomParDefaut(), QStringLiteral("Bureau_Fichier"));
        Frm_ImpressionA4 d;
        auto* liste = enfant<QComboBox>(d, "Cbo_Imprimante");
        QCOMPARE(liste->currentText(), QStringLiteral("Pavonis_PDF"));
        QCOMPARE(enfant<QLabel>(d, "Etq_LibEtat")->text(), QStringLiteral("Imprimante par défaut"));
        liste->setCurrentIndex(0);
        QCOMPARE(enfant<QLabel>(d, "Etq_LibEtat")->text(), QString());
        qunsetenv("LPDEST");
    }
};

QTEST_MAIN(TestDialogueImpression)
#include "tst_dialogueimpression.moc"
