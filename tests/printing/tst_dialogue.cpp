// The print dialog against the private print server, whose queues are, in
// order: Atelier_Matricielle, Bureau_Fichier, Pavonis_PDF (the server's
// default), Stock_mAtRiCe. The printer list (dot-matrix ones left out), the
// default printer remembered once per thread and what happens when the
// printers change, the copies box and its spinner, Ok, Annuler and the
// refusal of every other way out. Two runs of their own (see CMakeLists):
// a dot-matrix default printer, printers that change, no print server.

#include "HoteEssai.h"
#include "OutilsEssai.h"

#include <pavonis/printing/Frm_ImpressionA4.h>
#include <pavonis/printing/Mod_Var.h>
#include <pavonis/printing/Printer.h>
#include <pavonis/printing/Printers.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <cmath>

using namespace pavonis;
using namespace pavonis::essai;
using impression::Frm_ImpressionA4;
using impression::Mod_Var;

namespace {

template <typename W = QWidget> W* enfant(QWidget& d, const char* nom)
{
    auto* w = d.findChild<W*>(QString::fromLatin1(nom));
    if (!w)
        qFatal("no %s", nom);
    return w;
}

// The device URI as the print server's own client tells it.
QString uri(const QString& file)
{
    const QString u = executer("lpstat", {"-v", file}).trimmed().section(": ", 1);
    return u.startsWith(u'/') ? "file:" + u : u; // lpstat leaves out "file:"
}

bool lpadmin(const QStringList& arguments)
{
    int code = -1;
    executer("lpadmin", arguments, &code);
    return code == 0;
}
bool ajouterFile(const QString& file)
{
    return lpadmin({"-p", file, "-E", "-v", "file:///dev/null", "-m", "raw"});
}
bool retirerFile(const QString& file)
{
    return lpadmin({"-x", file});
}

int pixels(int twips)
{
    return int(std::lround(twips * QGuiApplication::primaryScreen()->logicalDotsPerInch() / 1440.0));
}

struct Ouverture {
    QStringList liste;
    QString choisie, etat;
    bool operator==(const Ouverture&) const = default;
};
Ouverture ouvrir()
{
    Frm_ImpressionA4 d;
    auto* liste = enfant<QComboBox>(d, "Cbo_Imprimante");
    Ouverture o{{}, liste->currentText(), enfant<QLabel>(d, "Etq_LibEtat")->text()};
    for (int i = 0; i < liste->count(); ++i)
        o.liste << liste->itemText(i);
    return o;
}

// Runs the dialog as the code under test does (exec), and acts in it once shown.
int executerDialogue(Frm_ImpressionA4& d, const std::function<void(Frm_ImpressionA4&)>& action)
{
    QTimer::singleShot(0, &d, [&] {
        QVERIFY(QTest::qWaitForWindowActive(&d));
        action(d);
    });
    return d.exec();
}

} // namespace

namespace QTest {
template <> char* toString(const Ouverture& o)
{
    return qstrdup(qPrintable(o.liste.join(", ") + " ; choisie " + o.choisie + " ; état " + o.etat));
}
} // namespace QTest

class TestDialogue : public QObject {
    Q_OBJECT

private slots:
    // Runs first: the first opening on this thread reads the default printer.
    void premiereOuverture()
    {
        if (QPrinterInfo::defaultPrinterName() != "Pavonis_PDF")
            QSKIP("the private server with its own default printer");
        QCOMPARE(QPrinterInfo::availablePrinterNames(),
                 QStringList({"Atelier_Matricielle", "Bureau_Fichier", "Pavonis_PDF", "Stock_mAtRiCe"}));
        const Mod_Var& mv = Mod_Var::courant();
        QVERIFY(!mv.ImprimanteDefautLue);
        Frm_ImpressionA4 d;
        QVERIFY(d.chargementTermine());
        QVERIFY(mv.ImprimanteDefautLue && mv.ImprimanteDefautConnue);
        QCOMPARE(mv.NomImprimanteDefaut, "Pavonis_PDF");
        QCOMPARE(ouvrir(),
                 (Ouverture{{"Bureau_Fichier", "Pavonis_PDF"}, "Pavonis_PDF", "Imprimante par défaut"}));
        QVERIFY(!enfant(d, "Cbo_ImpSelect")->isVisibleTo(&d));
        QCOMPARE(Frm_ImpressionA4::indexImprimanteDefaut(), qint16(1));
        QCOMPARE(enfant<QLabel>(d, "Etq_LibOu")->text(), uri("Pavonis_PDF"));
        // Loading walks the collection through the current printer, and
        // leaves the system's default printer alone.
        QCOMPARE(impression::Printer::courante().DeviceName(), "Stock_mAtRiCe");
        QCOMPARE(impression::Printers::nomParDefaut(), "Pavonis_PDF");
        QCOMPARE(enfant<QLineEdit>(d, "Txt_NbCopies")->text(), "1");
        QCOMPARE(enfant<QScrollBar>(d, "Bdh_NbCopies")->value(), 1);
    }

    // Every control at its place (tests/donnees/dialogue-inventaire.tsv),
    // the focus order, and a choice in the list that shows its status and
    // port and gives the focus back to Ok.
    void dispositionEtChoix()
    {
        Frm_ImpressionA4 d;
        QVERIFY(montrer(d));
        QCOMPARE(d.windowTitle(), "Imprimer");
        QCOMPARE(d.size(), QSize(pixels(4725), pixels(2490)));
        QFile f(QStringLiteral(PAVONIS_DONNEES) + "/dialogue-inventaire.tsv");
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QStringList lignes = QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts).mid(1);
        QCOMPARE(lignes.size(), 14);
        for (const QString& l : lignes) {
            const QStringList c = l.split('\t');
            QWidget* w = enfant(d, qPrintable(c[0]));
            const int x = c[3].toInt(), y = c[4].toInt();
            const QRect attendu(pixels(x), pixels(y), pixels(x + c[5].toInt()) - pixels(x),
                                pixels(y + c[6].toInt()) - pixels(y));
            QCOMPARE(w->parentWidget() == &d ? "" : w->parentWidget()->objectName(), c[1]);
            if (!c[0].startsWith("Etq_Lib")) // those show the printer's status and port
                QCOMPARE(legende(w), c[2]);
            QCOMPARE(w->geometry(), attendu);
        }
        QStringList ordre{QApplication::focusWidget()->objectName()};
        for (int i = 0; i < 5; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            ordre << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(ordre, QStringList({"Cmd_Ok", "Cbo_Imprimante", "Txt_NbCopies", "Bdh_NbCopies",
                                     "Cmd_Annuler", "Cmd_Ok"}));
        auto* liste = enfant<QComboBox>(d, "Cbo_Imprimante");
        for (const auto& [touche, file, etat] :
             {std::tuple{Qt::Key_Up, "Bureau_Fichier", ""},
              std::tuple{Qt::Key_Down, "Pavonis_PDF", "Imprimante par défaut"}}) {
            liste->setFocus();
            QTest::keyClick(liste, touche);
            QCOMPARE(liste->currentText(), file);
            QCOMPARE(enfant<QLabel>(d, "Etq_LibEtat")->text(), etat);
            QCOMPARE(enfant<QLabel>(d, "Etq_LibOu")->text(), uri(file));
            QCOMPARE(QApplication::focusWidget()->objectName(), "Cmd_Ok");
        }
    }

    // Digits only, no leading zero typed into an empty box, two at most;
    // backspace always; the rule looks at the whole box; typing does not
    // move the spinner.
    void zoneCopies_data()
    {
        QTest::addColumn<QString>("avant");
        QTest::addColumn<bool>("toutSelectionne");
        QTest::addColumn<QString>("frappe"); // \b: backspace, \x7f: delete at the start
        QTest::addColumn<QString>("apres");
        QTest::newRow("0 dans la case vide") << "" << false << "0"
                                             << "";
        QTest::newRow("1 puis 0") << "" << false << "10"
                                  << "10";
        QTest::newRow("troisième chiffre") << "" << false << "105"
                                           << "10";
        QTest::newRow("lettres") << "" << false << "a1b"
                                 << "1";
        QTest::newRow("signes") << "" << false << "-+ .,e"
                                << "";
        QTest::newRow("zéro après un chiffre") << "5" << false << "0"
                                               << "50";
        QTest::newRow("retour arrière") << "12" << false << "\b"
                                        << "1";
        QTest::newRow("retour arrière puis 0") << "1" << false << "\b0"
                                               << "";
        QTest::newRow("0 sur tout le texte choisi") << "12" << true << "0"
                                                    << "0";
        QTest::newRow("tout plein") << "99" << false << "1"
                                    << "99";
        QTest::newRow("suppression en tête") << "10" << false << "\x7f"
                                             << "0";
    }
    void zoneCopies()
    {
        QFETCH(QString, avant);
        QFETCH(bool, toutSelectionne);
        QFETCH(QString, frappe);
        QFETCH(QString, apres);
        Frm_ImpressionA4 d;
        QVERIFY(montrer(d));
        auto* zone = enfant<QLineEdit>(d, "Txt_NbCopies");
        QCOMPARE(zone->maxLength(), 2);
        zone->setFocus();
        zone->setText(avant);
        if (toutSelectionne)
            zone->selectAll();
        for (QChar c : frappe) {
            if (c == u'\b') {
                QTest::keyClick(zone, Qt::Key_Backspace);
            } else if (c == u'\x7f') {
                zone->setCursorPosition(0);
                QTest::keyClick(zone, Qt::Key_Delete);
            } else
                QTest::keyClicks(zone, QString(c));
        }
        QCOMPARE(zone->text(), apres);
        QCOMPARE(enfant<QScrollBar>(d, "Bdh_NbCopies")->value(), 1);
        QGuiApplication::clipboard()->setText("ab");
        QTest::keySequence(zone, QKeySequence::Paste);
        QCOMPARE(zone->text(), apres);
    }

    // The upper arrow counts up, the lower one down, from 1 to 99.
    void compteur()
    {
        Frm_ImpressionA4 d;
        QVERIFY(montrer(d));
        auto* compteur = enfant<QScrollBar>(d, "Bdh_NbCopies");
        auto* zone = enfant<QLineEdit>(d, "Txt_NbCopies");
        const QPoint haut(compteur->width() / 2, 2), bas(compteur->width() / 2, compteur->height() - 3);
        QStringList vus;
        for (const QPoint& p : {haut, haut, bas}) {
            QTest::mouseClick(compteur, Qt::LeftButton, {}, p);
            vus << zone->text();
        }
        compteur->setFocus();
        for (Qt::Key k : {Qt::Key_Up, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down}) {
            QTest::keyClick(compteur, k);
            vus << zone->text();
        }
        QTest::mouseClick(compteur, Qt::LeftButton, {}, bas);
        vus << zone->text();
        compteur->setValue(99);
        QTest::mouseClick(compteur, Qt::LeftButton, {}, haut);
        vus << zone->text();
        QCOMPARE(vus, QStringList({"2", "3", "2", "3", "2", "1", "1", "1", "99"}));
    }

    // Only Ok and Annuler close the dialog; Enter clicks the button that
    // has the focus, and nothing else.
    void fermetures()
    {
        Frm_ImpressionA4 d;
        QVERIFY(montrer(d));
        QVERIFY(!d.close());
        d.windowHandle()->close();
        QTest::keyClick(&d, Qt::Key_Escape);
        d.reject();
        enfant<QComboBox>(d, "Cbo_Imprimante")->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY(d.isVisible());
        QVERIFY(!Mod_Var::courant().ImpressionAnnulee);

        Frm_ImpressionA4 annulee;
        QCOMPARE(executerDialogue(annulee,
                                  [](auto& w) {
                                      enfant(w, "Cmd_Annuler")->setFocus();
                                      QTest::keyClick(enfant(w, "Cmd_Annuler"), Qt::Key_Return);
                                  }),
                 int(QDialog::Rejected));
        QVERIFY(Mod_Var::courant().ImpressionAnnulee);
        // The current printer is left as loading left it.
        QCOMPARE(impression::Printer::courante().DeviceName(), "Stock_mAtRiCe");
        Frm_ImpressionA4 acceptee;
        QCOMPARE(
            executerDialogue(
                acceptee, [](auto& w) { QTest::keyClick(enfant<QPushButton>(w, "Cmd_Ok"), Qt::Key_Return); }),
            int(QDialog::Accepted));
        QVERIFY(!Mod_Var::courant().ImpressionAnnulee);
        QCOMPARE(impression::Printer::courante().DeviceName(), "Pavonis_PDF");
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
        QCOMPARE(
            executerDialogue(d,
                             [&](auto& w) {
                                 enfant<QComboBox>(w, "Cbo_Imprimante")->setCurrentText("Bureau_Fichier");
                                 enfant<QLineEdit>(w, "Txt_NbCopies")->setText(copies);
                                 enfant<QPushButton>(w, "Cmd_Ok")->click();
                             }),
            int(QDialog::Accepted));
        QCOMPARE(int(Mod_Var::courant().NbCopiesImpression), attendu);
        QCOMPARE(impression::Printer::courante().DeviceName(), "Bureau_Fichier");
        QCOMPARE(impression::Printer::courante().Port(), uri("Bureau_Fichier"));
    }

    // Its own run, with LPDEST=Zz_Pavonis_Un: the printers change between
    // two openings. The remembered default printer goes away and another
    // takes its position, which is not the default; the list gets shorter
    // than the remembered position; the default printer comes back.
    void imprimantesChangees()
    {
        const QString un = "Zz_Pavonis_Un", deux = "Zz_Pavonis_Deux";
        if (qgetenv("LPDEST") != un.toLatin1())
            QSKIP("run with LPDEST=Zz_Pavonis_Un");
        const auto nettoyer = qScopeGuard([&] {
            retirerFile(un);
            retirerFile(deux);
        });
        QVERIFY(ajouterFile(un));
        QCOMPARE(ouvrir(), (Ouverture{{"Bureau_Fichier", "Pavonis_PDF", un}, un, "Imprimante par défaut"}));
        QCOMPARE(Frm_ImpressionA4::indexImprimanteDefaut(), qint16(2));
        QVERIFY(retirerFile(un) && ajouterFile(deux));
        QCOMPARE(ouvrir(), (Ouverture{{"Bureau_Fichier", "Pavonis_PDF", deux}, "Bureau_Fichier", ""}));
        {
            Frm_ImpressionA4 d; // the other printer is not labelled the default either
            enfant<QComboBox>(d, "Cbo_Imprimante")->setCurrentIndex(2);
            QCOMPARE(enfant<QLabel>(d, "Etq_LibEtat")->text(), "");
        }
        QVERIFY(retirerFile(deux));
        QCOMPARE(ouvrir(), (Ouverture{{"Bureau_Fichier", "Pavonis_PDF"}, "Bureau_Fichier", ""}));
        QCOMPARE(Frm_ImpressionA4::indexImprimanteDefaut(), qint16(-1));
        QVERIFY(ajouterFile(un));
        QCOMPARE(ouvrir(), (Ouverture{{"Bureau_Fichier", "Pavonis_PDF", un}, un, "Imprimante par défaut"}));
        QCOMPARE(Mod_Var::courant().NomImprimanteDefaut, un);
    }

    // Runs last: the user's default printer changes; the one remembered on
    // this thread stays.
    void defautRetenu()
    {
        if (!QPrinterInfo::availablePrinterNames().contains("Pavonis_PDF"))
            QSKIP("the private server");
        qputenv("LPDEST", "Bureau_Fichier");
        const auto retablir = qScopeGuard([] { qunsetenv("LPDEST"); });
        QCOMPARE(impression::Printers::nomParDefaut(), "Bureau_Fichier");
        const Ouverture o = ouvrir();
        QCOMPARE(o.choisie, "Pavonis_PDF");
        QCOMPARE(o.etat, "Imprimante par défaut");
    }

    // Its own run, with LPDEST=Atelier_Matricielle: a dot-matrix default
    // printer gives way to the first eligible one, at every opening.
    void defautMatriciel()
    {
        if (QPrinterInfo::defaultPrinterName() != "Atelier_Matricielle")
            QSKIP("run with LPDEST=Atelier_Matricielle");
        for (int i = 0; i < 2; ++i) {
            const Ouverture o = ouvrir();
            QCOMPARE(o.liste, QStringList({"Bureau_Fichier", "Pavonis_PDF"}));
            QCOMPARE(o.choisie, "Bureau_Fichier");
            QCOMPARE(o.etat, "Imprimante par défaut");
        }
        QCOMPARE(Mod_Var::courant().NomImprimanteDefaut, "Bureau_Fichier");
    }

    // Its own run, without a print server: an empty list, a status that
    // says so, Ok disabled, Annuler as usual.
    void sansImprimante()
    {
        if (!QPrinterInfo::availablePrinterNames().isEmpty())
            QSKIP("run without a print server");
        Frm_ImpressionA4 d;
        QCOMPARE(enfant<QComboBox>(d, "Cbo_Imprimante")->count() +
                     enfant<QComboBox>(d, "Cbo_ImpSelect")->count(),
                 0);
        QCOMPARE(enfant<QLabel>(d, "Etq_LibEtat")->text(), "Aucune imprimante disponible");
        QCOMPARE(enfant<QLabel>(d, "Etq_LibOu")->text(), "");
        QVERIFY(!enfant<QPushButton>(d, "Cmd_Ok")->isEnabled());
        QCOMPARE(executerDialogue(d, [](auto& w) { enfant<QPushButton>(w, "Cmd_Annuler")->click(); }),
                 int(QDialog::Rejected));
        QVERIFY(Mod_Var::courant().ImpressionAnnulee);
        QCOMPARE(impression::Printer::courante().DeviceName(), "");
    }
};

QTEST_MAIN(TestDialogue)
#include "tst_dialogue.moc"
