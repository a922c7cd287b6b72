// "Imprimer" on the real control, end to end on the private print server:
// the page in several copies through the cups-pdf queue under the job's
// title, one-sided; Annuler; printers and servers that fail, a page that
// breaks off, a window closed while the dialog is up -- after which the
// control is given back and the user told. Then the PDF export and the
// demo host printing from a scenario.

#include "HoteEssai.h"
#include "OutilsEssai.h"
#include "PiloteModal.h"

#include <pavonis/hostapi/Erreur.h>
#include <pavonis/platform/BoiteMessage.h>
#include <pavonis/printing/Printer.h>

#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <cups/cups.h>

using namespace pavonis;
using namespace pavonis::essai;

namespace {

QDir dossierCups()
{
    return QDir(qEnvironmentVariable("PAVONIS_CUPS_PDF") + "/..");
}
QStringList pdfs()
{
    return QDir(qEnvironmentVariable("PAVONIS_CUPS_PDF")).entryList({"*.pdf"}, QDir::Files, QDir::Name);
}

// The next complete file cups-pdf writes; empty after a minute. cups-pdf
// writes in place: the queue's jobs must be done first.
QString nouveauPdf(const QStringList& avant)
{
    (void)QTest::qWaitFor([] { return executer("lpstat", {"-o"}).trimmed().isEmpty(); }, 60000);
    QString trouve;
    (void)QTest::qWaitFor(
        [&] {
            for (const QString& f : pdfs()) {
                int code = 1;
                const QString chemin = qEnvironmentVariable("PAVONIS_CUPS_PDF") + '/' + f;
                if (!avant.contains(f) && (executer("pdfinfo", {chemin}, &code), code == 0))
                    trouve = chemin;
            }
            return !trouve.isEmpty();
        },
        60000);
    return trouve;
}

// Jobs the server knows of, finished or not.
int travaux()
{
    return int(executer("lpstat", {"-W", "all", "-o"}).split('\n', Qt::SkipEmptyParts).size());
}

// A page of a PDF as a grey image at 50 dpi.
QImage page(const QString& pdf, int numero = 1)
{
    const QString png = pdf + "-" + QString::number(numero);
    executer("pdftoppm",
             {"-r", "50", "-gray", "-png", "-f", QString::number(numero), "-singlefile", pdf, png});
    return QImage(png + ".png").convertToFormat(QImage::Format_Grayscale8);
}

// Blocks of 4 x 4 pixels (2 mm) whose ink differs clearly: they hide how
// each renderer draws glyphs, not a box, line or word that moved.
int blocsDifferents(const QImage& a, const QImage& b)
{
    if (a.size() != b.size() || a.isNull())
        return 1 << 20;
    int differents = 0;
    for (int by = 0; by + 4 <= a.height(); by += 4)
        for (int bx = 0; bx + 4 <= a.width(); bx += 4) {
            int ecart = 0;
            for (int y = by; y < by + 4; ++y)
                for (int x = bx; x < bx + 4; ++x)
                    ecart += int(b.constScanLine(y)[x]) - int(a.constScanLine(y)[x]);
            differents += std::abs(ecart) > 64 * 16;
        }
    return differents;
}

// The control's enabled state and cursor at each change of either.
class Journal : public QObject {
public:
    QStringList etats;
    explicit Journal(QWidget& w) { w.installEventFilter(this); }
    static QString etat(const QWidget& w)
    {
        return w.isEnabled() ? "libre" : w.cursor().shape() == Qt::WaitCursor ? "occupé" : "inactif";
    }

protected:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() == QEvent::EnabledChange || e->type() == QEvent::CursorChange)
            etats << etat(*static_cast<QWidget*>(o));
        return false;
    }
};

} // namespace

class TestImpression : public QObject {
    Q_OBJECT

    std::unique_ptr<HoteEssai> hote_;
    Uc_Pavonis* c_ = nullptr;
    QStringList messages_; // title | text | the control's state then
    std::function<void()> pendantLeDialogue_;

    // "Imprimer" clicked; in the dialog, a printer and copies, then Ok.
    void imprimer(const QString& imprimante, const QString& copies)
    {
        PiloteModal dialogue("pavonis::impression::Frm_ImpressionA4", [&](QWidget& d) {
            d.findChild<QComboBox*>("Cbo_Imprimante")->setCurrentText(imprimante);
            d.findChild<QLineEdit*>("Txt_NbCopies")->setText(copies);
            if (pendantLeDialogue_)
                pendantLeDialogue_();
            if (!d.isVisible() || !hote_)
                return;
            d.findChild<QPushButton*>("Cmd_Ok")->click();
        });
        cliquer(*c_, "Cmd_Imprimer");
        QVERIFY(dialogue.fait());
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(qEnvironmentVariableIsSet("CUPS_SERVER") && dossierCups().exists(), "run through ctest");
    }
    void init()
    {
        hote_ = std::make_unique<HoteEssai>();
        c_ = hote_->creerControle();
        QVERIFY(montrer(hote_->fenetre()));
        c_->Init();
        taper(enfant(*c_, "Txt_NomBenef"), "Jeanne Martin");
        taper(enfant(*c_, "Txt_NomEnqueteur"), "Claire Dupuis");
        cliquer(*c_, "Opt_ToiletteHFaitPas");
        cliquer(*c_, "Cac_ToiletteHS");
        messages_.clear();
        pendantLeDialogue_ = {};
        BoiteMessage::intercepter([this](const BoiteMessage::Message& m) {
            messages_ << m.titre + " | " + m.texte + " | " + (c_ ? Journal::etat(*c_) : "");
        });
    }
    void cleanup()
    {
        BoiteMessage::intercepter({});
        hote_.reset();
    }

    // Twelve copies (more than one digit): one job of twelve identical sheets,
    // each our page, under the job title, one-sided; the control busy
    // meanwhile, then given back with its evaluation untouched.
    void douzeCopies()
    {
        const QStringList avant = pdfs();
        Journal journal(*c_);
        imprimer("Pavonis_PDF", "12");
        QCOMPARE(messages_, QStringList());
        QVERIFY(journal.etats.contains("occupé"));
        QCOMPARE(journal.etats.last(), "libre");
        QCOMPARE(texte(*c_, "Txt_ToiletteHNote"), "B");
        const QString fichier = nouveauPdf(avant);
        const QString info = executer("pdfinfo", {fichier});
        QVERIFY2(info.contains(QRegularExpression("Pages:\\s+12\\n")) && info.contains("(A4)"),
                 qPrintable(info));
        QTemporaryDir d;
        QList<QImage> feuilles;
        for (int n : {1, 2, 12})
            feuilles << page(fichier, n);
        QCOMPARE(feuilles[1], feuilles[0]);
        QCOMPARE(feuilles[2], feuilles[0]);
        c_->exporterPdf(d.filePath("nous.pdf"));
        QVERIFY2(blocsDifferents(feuilles[0], page(d.filePath("nous.pdf"))) <= 4, "not our page");
        // The comparison sees another evaluation: one more row answered.
        cliquer(*c_, "Opt_AlerterFaitPas");
        c_->exporterPdf(d.filePath("autre.pdf"));
        QVERIFY(blocsDifferents(feuilles[0], page(d.filePath("autre.pdf"))) > 4);
        // The queue's log: the job's title and its sides.
        const QString titre = "Évaluation AGGIR – Jeanne Martin – 05/12/2026";
        QString journalCups;
        QTRY_VERIFY_WITH_TIMEOUT(
            [&] {
                QFile f(dossierCups().filePath("log/page_log"));
                journalCups = f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
                return journalCups.contains(titre);
            }(),
            30000);
        const QString ligne = journalCups.section(titre, -1).section('\n', 0, 0);
        QVERIFY2(ligne.trimmed().endsWith("one-sided"), qPrintable(ligne));
    }

    void annuler()
    {
        const int avant = travaux();
        Journal journal(*c_);
        PiloteModal dialogue("pavonis::impression::Frm_ImpressionA4",
                             [](QWidget& d) { d.findChild<QPushButton*>("Cmd_Annuler")->click(); });
        cliquer(*c_, "Cmd_Imprimer");
        QVERIFY(dialogue.fait());
        QVERIFY(messages_.isEmpty() && journal.etats.isEmpty());
        QCOMPARE(travaux(), avant);
    }

    // What fails after the dialog: the user is told which printer and why,
    // once the control is given back; nothing stays half-printed.
    void echecs_data()
    {
        QTest::addColumn<QString>("cas");
        QTest::addColumn<QString>("imprimante");
        QTest::addColumn<QString>("raison");
        QTest::newRow("file qui refuse") << "refus"
                                         << "Bureau_Fichier"
                                         << "l'imprimante refuse les travaux";
        QTest::newRow("file disparue") << "disparue"
                                       << "Zz_Pavonis_Disparue"
                                       << "n'existe pas ou plus";
        QTest::newRow("serveur injoignable")
            << "serveur"
            << "Bureau_Fichier"
            << "le serveur d'impression « /nulle/part/cups.sock » est injoignable";
        QTest::newRow("page interrompue") << "page"
                                          << "Pavonis_PDF"
                                          << "Txt_CuisineNote";
    }
    void echecs()
    {
        QFETCH(QString, cas);
        QFETCH(QString, imprimante);
        QFETCH(QString, raison);
        if (cas == "disparue")
            executer("lpadmin", {"-p", imprimante, "-E", "-v", "file:///dev/null", "-m", "raw"});
        if (cas == "refus")
            executer("cupsreject", {"-r", "essai", imprimante});
        const QByteArray serveur = cupsServer();
        const auto retablir = qScopeGuard([&] {
            cupsSetServer(serveur.constData());
            executer("cupsaccept", {"Bureau_Fichier"});
            executer("lpadmin", {"-x", "Zz_Pavonis_Disparue"});
        });
        if (cas == "page")
            delete enfant(*c_, "Txt_CuisineNote");
        pendantLeDialogue_ = [&] {
            if (cas == "disparue")
                executer("lpadmin", {"-x", imprimante});
            if (cas == "serveur")
                cupsSetServer("/nulle/part/cups.sock");
        };
        const int avant = travaux();
        imprimer(imprimante, "2");
        cupsSetServer(serveur.constData());
        QCOMPARE(messages_.size(), 1);
        QVERIFY2(messages_[0].startsWith("Impression | ") && messages_[0].endsWith(" | libre"),
                 qPrintable(messages_[0]));
        QVERIFY2(messages_[0].contains("« " + imprimante + " »") && messages_[0].contains(raison),
                 qPrintable(messages_[0]));
        QVERIFY(!impression::Printer::courante().documentEnCours());
        QCOMPARE(travaux(), avant);
        if (cas != "page")
            return;
        // The next print, on a whole screen, goes out.
        c_ = nullptr;
        hote_.reset(); // one test host at a time: each registers the host classes
        hote_ = std::make_unique<HoteEssai>();
        c_ = hote_->creerControle();
        QVERIFY(montrer(hote_->fenetre()));
        c_->Init();
        pendantLeDialogue_ = {};
        imprimer("Bureau_Fichier", "1");
        QCOMPARE(messages_.size(), 1);
        QCOMPARE(travaux(), avant + 1);
    }

    // The host closes its window while the dialog is up: no print, no
    // message, nothing touched after.
    void fenetreFermeePendantLeDialogue()
    {
        const int avant = travaux();
        pendantLeDialogue_ = [&] {
            c_ = nullptr;
            hote_.reset();
        };
        PiloteModal dialogue("pavonis::impression::Frm_ImpressionA4",
                             [&](QWidget&) { pendantLeDialogue_(); });
        cliquer(*c_, "Cmd_Imprimer");
        QVERIFY(dialogue.fait());
        QVERIFY(!hote_ && messages_.isEmpty());
        QCOMPARE(travaux(), avant);
    }

    // The demo host prints from a scenario and writes the PDF after it; a
    // scenario that leaves the dialog open is told so and does not hang.
    void depuisLHoteDeDemonstration()
    {
        QTemporaryDir dossier;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_DATA_HOME", dossier.path());
        env.insert("XDG_CONFIG_HOME", dossier.path());
        const auto lancer = [&](const QByteArray& scenario, const QStringList& plus, int& code) {
            ecrireFichier(dossier.filePath("s.txt"), scenario);
            return executer(PAVONIS_HOTE, QStringList{"--scenario", dossier.filePath("s.txt")} + plus, &code,
                            env);
        };
        const QStringList avant = pdfs();
        int code = -1;
        QString erreurs =
            lancer("saisir Txt_NomBenef Jeanne Martin\ncliquer Opt_TransfertsFaitPas\ncliquer Cmd_Imprimer\n"
                   "choisir Cbo_Imprimante Pavonis_PDF\neffacer Txt_NbCopies\nsaisir Txt_NbCopies 2\ncliquer "
                   "Cmd_Ok\n",
                   {"--pdf", dossier.filePath("archive.pdf")}, code);
        QVERIFY2(code == 0, qPrintable(erreurs));
        QVERIFY(executer("pdfinfo", {nouveauPdf(avant)}).contains(QRegularExpression("Pages:\\s+2\\n")));
        QVERIFY(executer("pdftotext", {dossier.filePath("archive.pdf"), "-"}).contains("Jeanne Martin"));
        erreurs = lancer("cliquer Cmd_Imprimer\nchoisir Cbo_Imprimante Bureau_Fichier\n", {}, code);
        QCOMPARE(code, 2);
        QVERIFY2(erreurs.contains("« Annuler »"), qPrintable(erreurs));
    }
};

QTEST_MAIN(TestImpression)
#include "tst_impression.moc"
