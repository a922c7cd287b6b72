// "Imprimer" on the real control, end to end on the private print server.

#include "HoteEssai.h"
#include "OutilsEssai.h"

#include <pavonis/platform/BoiteMessage.h>
#include <pavonis/printing/Printer.h>

#include <cups/cups.h>

using namespace pavonis;
using namespace pavonis::essai;

class TestImpression : public EssaiControle {
    Q_OBJECT

    inline static const QString kPdf = qEnvironmentVariable("PAVONIS_CUPS_PDF"); // where cups-pdf writes
    QStringList messages_, etats_; // title | text | the control's state then; its states as they change

    static QStringList pdfs() { return QDir(kPdf).entryList({"*.pdf"}, QDir::Files); }
    static int travaux() { return int(executer("lpstat", {"-W", "all", "-o"}).count('\n')); }
    static QString etat(const QWidget& w)
    {
        return w.isEnabled() ? "libre" : w.cursor().shape() == Qt::WaitCursor ? "occupé" : "inactif";
    }
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() == QEvent::EnabledChange || e->type() == QEvent::CursorChange)
            etats_ << etat(*static_cast<QWidget*>(o));
        return false;
    }
    // The next PDF cups-pdf writes, complete once no job is left (it writes in place); empty after a minute.
    static QString nouveauPdf(const QStringList& avant)
    {
        QString trouve;
        const auto fini = [&] {
            for (const QString& f : pdfs())
                if (!avant.contains(f) && lancer("pdfinfo", {kPdf + '/' + f}).code == 0)
                    trouve = kPdf + '/' + f;
            return !trouve.isEmpty() && executer("lpstat", {"-o"}).trimmed().isEmpty();
        };
        return QTest::qWaitFor(fini, 60000) ? trouve : QString();
    }
    // A page of a PDF as a grey image at 50 dpi.
    static QImage page(const QString& f, int n)
    {
        executer("pdftoppm", {"-r", "50", "-gray", "-png", "-f", QString::number(n), "-singlefile", f, f});
        return QImage(f + ".png").convertToFormat(QImage::Format_Grayscale8);
    }
    // 2 mm blocks whose ink differs: blind to how renderers draw glyphs, not to what moved.
    static int blocsDifferents(const QImage& a, const QImage& b)
    {
        if (a.size() != b.size() || a.isNull())
            return 1 << 20;
        const int largeur = (a.width() + 3) / 4;
        QList<int> ecarts(largeur * ((a.height() + 3) / 4));
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x)
                ecarts[y / 4 * largeur + x / 4] += b.constScanLine(y)[x] - a.constScanLine(y)[x];
        return int(std::ranges::count_if(ecarts, [](int e) { return std::abs(e) > 64 * 16; }));
    }
    // "Imprimer"; in the dialog (its exec() loop): a printer (queue), copies, `pendant`, Ok.
    void imprimer(const QString& file, const QString& copies, std::function<void(QWidget&)> pendant = {})
    {
        QTimer t;
        connect(&t, &QTimer::timeout, this, [&] {
            QWidget* d = QApplication::activeModalWidget();
            if (!d || !d->inherits("pavonis::impression::Frm_ImpressionA4"))
                return;
            t.stop();
            d->findChild<QComboBox*>("Cbo_Imprimante")->setCurrentText(file);
            d->findChild<QLineEdit*>("Txt_NbCopies")->setText(copies);
            pendant ? pendant(*d) : void();
            if (hote_ && d->isVisible()) // the host may have gone, and the dialog with it
                d->findChild<QPushButton*>("Cmd_Ok")->click();
        });
        t.start(5);
        cliquer(*c_, "Cmd_Imprimer");
        QVERIFY(!t.isActive());
    }

private slots:
    void initTestCase() { QVERIFY2(!kPdf.isEmpty() && QDir(kPdf).exists(), "run by ctest"); }
    void init()
    {
        EssaiControle::init();
        QVERIFY(demarrer());
        taper(enfant(*c_, "Txt_NomBenef"), "Jeanne Martin");
        taper(enfant(*c_, "Txt_NomEnqueteur"), "Claire Dupuis");
        cliquer(*c_, "Opt_ToiletteHFaitPas"), cliquer(*c_, "Cac_ToiletteHS");
        messages_.clear(), etats_.clear();
        c_->installEventFilter(this);
        BoiteMessage::intercepter([this](const BoiteMessage::Message& m) {
            messages_ << m.titre + " | " + m.texte + " | " + (c_ ? etat(*c_) : "");
        });
    }
    // One test host at a time (each registers the host classes); the print server as it was.
    void cleanup()
    {
        BoiteMessage::intercepter({});
        EssaiControle::cleanup();
        cupsSetServer(nullptr);
        executer("cupsaccept", {"Bureau_Fichier"});
        executer("lpadmin", {"-x", "Zz_Pavonis_Disparue"});
    }

    // One job of 12 identical sheets of our page, titled, one-sided; the control busy meanwhile.
    void douzeCopies()
    {
        const QStringList avant = pdfs();
        imprimer("Pavonis_PDF", "12");
        QCOMPARE(messages_, QStringList());
        QVERIFY(etats_.join(' ').contains(QRegularExpression("occupé.* libre$")));
        QCOMPARE(texte(*c_, "Txt_ToiletteHNote"), "B");
        const QString fichier = nouveauPdf(avant), info = executer("pdfinfo", {fichier});
        QVERIFY2(info.contains(QRegularExpression("(?s)Pages:\\s+12\\n.*\\(A4\\)")), qPrintable(info));
        const QImage premiere = page(fichier, 1);
        QCOMPARE(page(fichier, 12), premiere);
        QTemporaryDir d;
        c_->exporterPdf(d.filePath("nous.pdf"));
        QVERIFY2(blocsDifferents(premiere, page(d.filePath("nous.pdf"), 1)) <= 4, "not our page");
        cliquer(*c_, "Opt_AlerterFaitPas"); // one more row: the comparison sees it
        c_->exporterPdf(d.filePath("autre.pdf"));
        QVERIFY(blocsDifferents(premiere, page(d.filePath("autre.pdf"), 1)) > 4);
        const QRegularExpression job("Évaluation AGGIR – Jeanne Martin – 05/12/2026 [^\\n]* one-sided\\n");
        QTRY_VERIFY_WITH_TIMEOUT(QString(lireFichier(kPdf + "/../log/page_log")).contains(job), 30000);
    }

    // Nothing printed after Annuler or a closed window; a failure named once the control is back.
    void echecs_data()
    {
        colonnes<QString, QString>(); // the printer, the reason told
        for (const auto& [cas, imprimante, raison] :
             {std::array{"annuler", "Pavonis_PDF", ""}, std::array{"fenêtre fermée", "Pavonis_PDF", ""},
              std::array{"file qui refuse", "Bureau_Fichier", "l'imprimante refuse les travaux"},
              std::array{"file disparue", "Zz_Pavonis_Disparue", "n'existe pas ou plus"},
              std::array{"serveur injoignable", "Bureau_Fichier",
                         "le serveur d'impression « /nulle/part/cups.sock » est injoignable"},
              std::array{"page interrompue", "Pavonis_PDF", "Txt_CuisineNote"}})
            QTest::newRow(cas) << QString(imprimante) << QString(raison);
    }
    void echecs()
    {
        const auto [imprimanteLue, raison] = ligne<QString, QString>();
        const QString imprimante = imprimanteLue, cas = QTest::currentDataTag();
        const auto si = [&](const char* c, auto f) { cas == c ? f() : void(); }; // f() in that case only
        if (cas == "file disparue")
            executer("lpadmin", {"-p", imprimante, "-E", "-v", "file:///dev/null", "-m", "raw"});
        si("file qui refuse", [&] { executer("cupsreject", {"-r", "essai", imprimante}); });
        si("page interrompue", [&] { delete enfant(*c_, "Txt_CuisineNote"); });
        const int avant = travaux();
        imprimer(imprimante, "2", [&](QWidget& d) {
            si("annuler", [&] { d.findChild<QPushButton*>("Cmd_Annuler")->click(); });
            si("fenêtre fermée", [&] { c_ = nullptr, hote_.reset(); });
            si("file disparue", [&] { executer("lpadmin", {"-x", imprimante}); });
            si("serveur injoignable", [] { cupsSetServer("/nulle/part/cups.sock"); });
        });
        cleanup();
        QCOMPARE(travaux(), avant);
        QVERIFY(!impression::Printer::courante().documentEnCours());
        const QString m = messages_.join('\n');
        QVERIFY2(raison.isEmpty()
                     ? (messages_ + etats_).isEmpty()
                     : messages_.size() == 1 && m.startsWith("Impression | ") && m.endsWith(" | libre") &&
                           m.contains("« " + imprimante + " »") && m.contains(raison),
                 qPrintable(m + '\n' + etats_.join(' ')));
        init();
        imprimer("Bureau_Fichier", "1");
        QCOMPARE(messages_, QStringList());
        QCOMPARE(travaux(), avant + 1);
    }

    // A scenario of the demo host prints; one that leaves the dialog open does not hang.
    void depuisLHoteDeDemonstration()
    {
        const auto jouer = [](QByteArray s) { return lancer(PAVONIS_HOTE, {"--scenario", "/dev/stdin"}, s); };
        const QStringList avant = pdfs();
        Execution e = jouer("saisir Txt_NomBenef Jeanne Martin\ncliquer Opt_TransfertsFaitPas\n"
                            "cliquer Cmd_Imprimer\nchoisir Cbo_Imprimante Pavonis_PDF\n"
                            "effacer Txt_NbCopies\nsaisir Txt_NbCopies 2\ncliquer Cmd_Ok\n");
        QVERIFY2(e.code == 0, e.erreurs.constData());
        QVERIFY(executer("pdfinfo", {nouveauPdf(avant)}).contains(QRegularExpression("Pages:\\s+2\\n")));
        e = jouer("cliquer Cmd_Imprimer\nchoisir Cbo_Imprimante Bureau_Fichier\n");
        QVERIFY2(e.code == 2 && (e.sortie + e.erreurs).contains("« Annuler »"), e.erreurs.constData());
    }
};

QTEST_MAIN(TestImpression)
#include "tst_impression.moc"
