// The print dialog on the private print server (outils/cups-prive.sh), and three runs of their own.

#include "HoteEssai.h"
#include "OutilsEssai.h"

#include <pavonis/printing/Frm_ImpressionA4.h>
#include <pavonis/printing/Mod_Var.h>
#include <pavonis/printing/Printer.h>
#include <pavonis/printing/Printers.h>

#include <QPrinterInfo>
#include <QtTest>
#include <QtWidgets>

using namespace pavonis::essai;
using namespace pavonis::impression;

class TestDialogue : public QObject {
    Q_OBJECT

    template <class W> static W* de(QWidget& d, const char* nom) { return qobject_cast<W*>(enfant(d, nom)); }
    static QComboBox* liste(QWidget& d) { return de<QComboBox>(d, "Cbo_Imprimante"); }
    static QString ou(QWidget& d) { return de<QLabel>(d, "Etq_LibOu")->text(); }
    static QWidget* focus() { return QApplication::focusWidget(); }
    static void entree(QWidget* w) { w->setFocus(), QTest::keyClick(focus(), Qt::Key_Return); }
    static int px(int t) { return qRound(t * qApp->primaryScreen()->logicalDotsPerInch() / 1440); }
    static bool lpadmin(const QStringList& arguments) { return QProcess::execute("lpadmin", arguments) == 0; }
    static QStringList file(QString f) { return {"-p", f, "-E", "-v", "file:///dev/null", "-m", "raw"}; }
    // The device URI as lpstat tells it, without "file:" before a path.
    static QString uri(const QString& file)
    {
        const QString u = executer("lpstat", {"-v", file}).trimmed().section(": ", 1);
        return u.startsWith(u'/') ? "file:" + u : u;
    }
    // An opening: "the list > the chosen printer : its status".
    static QString ouverture(QWidget& d)
    {
        QString s;
        for (int i = 0; i < liste(d)->count(); ++i)
            s += liste(d)->itemText(i) + ' ';
        return s + "> " + liste(d)->currentText() + " : " + de<QLabel>(d, "Etq_LibEtat")->text();
    }
    static QString ouverture() { return ouverture(*std::make_unique<Frm_ImpressionA4>()); }
    // exec() as the code under test runs it, Enter on `bouton`: "Ok|refus annulée|à imprimer <printer>".
    static QString fermerPar(Frm_ImpressionA4& d, const char* bouton)
    {
        QTimer::singleShot(0, &d, [&] {
            QVERIFY(QTest::qWaitForWindowActive(&d));
            entree(enfant(d, bouton));
        });
        const bool ok = d.exec() == QDialog::Accepted;
        return QString("%1 %2 %3")
            .arg(ok ? "Ok" : "refus", Mod_Var::courant().ImpressionAnnulee ? "annulée" : "à imprimer",
                 Printer::courante().DeviceName());
    }

private slots:
    // Runs first: the first opening on this thread reads the default printer, for good.
    void premiereOuverture()
    {
        if (QPrinterInfo::defaultPrinterName() != "Pavonis_PDF")
            QSKIP("the private server with its own default printer");
        QCOMPARE(QPrinterInfo::availablePrinterNames(),
                 QStringList({"Atelier_Matricielle", "Bureau_Fichier", "Pavonis_PDF", "Stock_mAtRiCe"}));
        Frm_ImpressionA4 d;
        QCOMPARE(ouverture(d), "Bureau_Fichier Pavonis_PDF > Pavonis_PDF : Imprimante par défaut");
        QCOMPARE(ou(d), uri("Pavonis_PDF"));
        QCOMPARE(de<QLineEdit>(d, "Txt_NbCopies")->text(), "1");
        QCOMPARE(de<QScrollBar>(d, "Bdh_NbCopies")->value(), 1);
        qputenv("LPDEST", "Bureau_Fichier");
        const auto retablir = qScopeGuard([] { qunsetenv("LPDEST"); });
        QCOMPARE(Printers::nomParDefaut(), "Bureau_Fichier");
        QCOMPARE(ouverture(), "Bureau_Fichier Pavonis_PDF > Pavonis_PDF : Imprimante par défaut");
    }

    // Every control as tests/donnees/dialogue-inventaire.tsv has it; tab order; a choice.
    void dispositionEtChoix()
    {
        Frm_ImpressionA4 d;
        QVERIFY(montrer(d));
        QCOMPARE(d.windowTitle(), "Imprimer");
        QCOMPARE(d.size(), QSize(px(4725), px(2490)));
        const QStringList lignes = donnee("dialogue-inventaire.tsv").split('\n', Qt::SkipEmptyParts).mid(1);
        QCOMPARE(lignes.size(), 14);
        for (const QString& l : lignes) {
            const QStringList c = l.split('\t');
            QWidget* w = enfant(d, qPrintable(c[0]));
            QCOMPARE(w->parentWidget() == &d ? "" : w->parentWidget()->objectName(), c[1]);
            if (!c[0].startsWith("Etq_Lib")) // those show the printer's status and address
                QCOMPARE(legende(w), c[2]);
            const int x = c[3].toInt(), y = c[4].toInt(), lg = c[5].toInt(), ht = c[6].toInt();
            QCOMPARE(w->geometry(), QRect(QPoint(px(x), px(y)), QPoint(px(x + lg) - 1, px(y + ht) - 1)));
        }
        QVERIFY(!enfant(d, "Cbo_ImpSelect")->isVisibleTo(&d));
        QStringList ordre;
        for (int i = 0; i < 6; ++i, QTest::keyClick(focus(), Qt::Key_Tab))
            ordre << focus()->objectName();
        QCOMPARE(ordre.join(' '), "Cmd_Ok Cbo_Imprimante Txt_NbCopies Bdh_NbCopies Cmd_Annuler Cmd_Ok");
        liste(d)->setFocus();
        QTest::keyClick(liste(d), Qt::Key_Up);
        QCOMPARE(ouverture(d), "Bureau_Fichier Pavonis_PDF > Bureau_Fichier : ");
        QCOMPARE(ou(d), uri("Bureau_Fichier"));
        QCOMPARE(focus()->objectName(), "Cmd_Ok");
    }

    // Only Ok and Annuler close it; Enter clicks the button that has the focus, nothing else.
    void fermetures()
    {
        Frm_ImpressionA4 d; // loading it went through every printer
        QVERIFY(montrer(d));
        QVERIFY(!d.close());
        d.windowHandle()->close(), QTest::keyClick(&d, Qt::Key_Escape), d.reject(), entree(liste(d));
        QVERIFY(d.isVisible() && !Mod_Var::courant().ImpressionAnnulee);
        d.hide(); // for a modal exec()
        QCOMPARE(fermerPar(d, "Cmd_Annuler"), "refus annulée Stock_mAtRiCe");
    }

    // Two digits, no leading 0 typed (the whole box counts), no paste; the counter from 1 to 99. Keys: ^
    // select all, < home, \x7f delete; on the counter: clicks on ▲ ▼, Up ↑, Down ↓, * set to 99. Ok: the
    // chosen printer becomes the current one; no copies or 0 is one.
    void copies_data()
    {
        colonnes<QString, QString, QString, int>(); // name|before|keys|after: text/counter|copies at Ok
        for (const char* l :
             {"0 dans la case vide||0|/1|1", "troisième chiffre||105|10/1|10",
              "autres caractères||a-+ .,e1b|1/1|1", "retour arrière puis 0|1|\b0|/1|1",
              "0 sur tout le texte choisi|12|^0|0/1|1", "suppression en tête|10|<\x7f|0/1|1",
              "99|99||99/1|99", "05|05||05/1|5", "flèche haute|1|▲▲|3/3|3",
              "flèches haute, haute, basse|1|▲▲▼|2/2|2", "flèche basse jusqu'à 1|1|▲▲▼▼▼|1/1|1",
              "haut|1|↑|2/2|2", "bas jusqu'à 1|1|↑↓↓|1/1|1", "99 au plus|1|*▲|99/99|99"}) {
            const QStringList c = QString::fromUtf8(l).split('|');
            QTest::newRow(qPrintable(c[0])) << c[1] << c[2] << c[3] << c[4].toInt();
        }
    }
    void copies()
    {
        const auto [avant, frappe, apres, nombre] = ligne<QString, QString, QString, int>();
        Frm_ImpressionA4 d;
        QVERIFY(montrer(d));
        auto* zone = de<QLineEdit>(d, "Txt_NbCopies");
        auto* compteur = de<QScrollBar>(d, "Bdh_NbCopies");
        zone->setFocus();
        zone->setText(avant);
        const auto clic = [&](int y) {
            QTest::mouseClick(compteur, Qt::LeftButton, {}, QPoint(compteur->width() / 2, y));
        };
        const QHash<QChar, std::function<void()>> actions{
            {u'^', [&] { QTest::keySequence(zone, QKeySequence::SelectAll); }},
            {u'<', [&] { QTest::keyClick(zone, Qt::Key_Home); }},
            {u'\x7f', [&] { QTest::keyClick(zone, Qt::Key_Delete); }},
            {u'▲', [&] { clic(2); }},
            {u'▼', [&] { clic(compteur->height() - 3); }},
            {u'↑', [&] { QTest::keyClick(compteur, Qt::Key_Up); }},
            {u'↓', [&] { QTest::keyClick(compteur, Qt::Key_Down); }},
            {u'*', [&] { compteur->setValue(99); }}};
        for (QChar c : frappe)
            actions.contains(c) ? actions[c]() : QTest::keyClick(zone, c.toLatin1());
        QGuiApplication::clipboard()->setText("ab");
        QTest::keySequence(zone, QKeySequence::Paste);
        QCOMPARE(zone->text() + '/' + QString::number(compteur->value()), apres);
        liste(d)->setCurrentText("Bureau_Fichier");
        QCOMPARE(fermerPar(d, "Cmd_Ok"), "Ok à imprimer Bureau_Fichier");
        QCOMPARE(int(Mod_Var::courant().NbCopiesImpression), nombre);
    }

    // Its own run: the remembered default printer goes, another takes its place, it comes back.
    void imprimantesChangees()
    {
        if (qgetenv("LPDEST") != "Zz_Un")
            QSKIP("run with LPDEST=Zz_Un");
        const auto nettoyer = qScopeGuard([] { lpadmin({"-x", "Zz_Un"}), lpadmin({"-x", "Zz_Deux"}); });
        QVERIFY(lpadmin(file("Zz_Un")));
        QCOMPARE(ouverture(), "Bureau_Fichier Pavonis_PDF Zz_Un > Zz_Un : Imprimante par défaut");
        QVERIFY(lpadmin({"-x", "Zz_Un"}) && lpadmin(file("Zz_Deux")));
        Frm_ImpressionA4 d;
        QCOMPARE(ouverture(d), "Bureau_Fichier Pavonis_PDF Zz_Deux > Bureau_Fichier : ");
        liste(d)->setCurrentIndex(2);
        QCOMPARE(ouverture(d), "Bureau_Fichier Pavonis_PDF Zz_Deux > Zz_Deux : ");
        QVERIFY(lpadmin({"-x", "Zz_Deux"}));
        QCOMPARE(ouverture(), "Bureau_Fichier Pavonis_PDF > Bureau_Fichier : ");
        QVERIFY(lpadmin(file("Zz_Un")));
        QCOMPARE(ouverture(), "Bureau_Fichier Pavonis_PDF Zz_Un > Zz_Un : Imprimante par défaut");
    }

    // Its own run: a dot-matrix default printer gives way to the first one offered.
    void defautMatriciel()
    {
        if (QPrinterInfo::defaultPrinterName() != "Atelier_Matricielle")
            QSKIP("run with LPDEST=Atelier_Matricielle");
        for (int i = 0; i < 2; ++i)
            QCOMPARE(ouverture(), "Bureau_Fichier Pavonis_PDF > Bureau_Fichier : Imprimante par défaut");
    }

    // Its own run, without a print server.
    void sansImprimante()
    {
        if (!QPrinterInfo::availablePrinterNames().isEmpty())
            QSKIP("run without a print server");
        Frm_ImpressionA4 d;
        QCOMPARE(ouverture(d), ">  : Aucune imprimante disponible");
        QCOMPARE(ou(d), "");
        QVERIFY(!de<QPushButton>(d, "Cmd_Ok")->isEnabled());
        QCOMPARE(fermerPar(d, "Cmd_Annuler"), "refus annulée ");
    }
};

QTEST_MAIN(TestDialogue)
#include "tst_dialogue.moc"
