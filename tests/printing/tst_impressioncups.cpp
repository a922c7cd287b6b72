// The whole print, end to end, on the private print server: the dialog, the
// page in several copies through the cups-pdf queue, Annuler, and printers
// that fail (a queue that refuses jobs, a queue that disappears, a screen
// that breaks the page halfway), after which the control is restored and
// the user told.

#include "EcranEssai.h"
#include "PiloteModal.h"

#include <ImpressionEvaluation.h>
#include <Printer.h>

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <limits>
#include <memory>

using namespace pavonis;

namespace {

QString executer(const QString& programme, const QStringList& arguments, bool* reussi = nullptr)
{
    QProcess p;
    p.start(programme, arguments);
    const bool ok = p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    if (reussi)
        *reussi = ok;
    return QString::fromUtf8(p.readAllStandardOutput());
}

QDir dossierPdf()
{
    return QDir(qEnvironmentVariable("PAVONIS_CUPS_PDF"));
}
QStringList pdfs()
{
    return dossierPdf().entryList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Name);
}

// The pages of a PDF file as grey images at 50 dpi.
QList<QImage> pagesEnImages(const QString& pdf, const QString& prefixe)
{
    executer(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("50"), QStringLiteral("-gray"),
                                          QStringLiteral("-png"), pdf, prefixe});
    QList<QImage> pages;
    const QFileInfo base(prefixe);
    for (const QString& f :
         base.dir().entryList({base.fileName() + QStringLiteral("-*.png")}, QDir::Files, QDir::Name))
        pages.append(QImage(base.dir().filePath(f)).convertToFormat(QImage::Format_Grayscale8));
    return pages;
}

// Blocks of 4 x 4 pixels (2 mm) whose ink differs clearly between two
// sheets. Blocks hide how each renderer draws its glyphs; a box, a line or a
// word that moved or changed still shows (a shift of 0.5 mm changes about a
// hundred blocks, one box turned black about five).
int blocsDifferents(const QImage& a, const QImage& b)
{
    if (a.size() != b.size())
        return std::numeric_limits<int>::max();
    constexpr int kBloc = 4;
    int differents = 0;
    for (int by = 0; by + kBloc <= a.height(); by += kBloc)
        for (int bx = 0; bx + kBloc <= a.width(); bx += kBloc) {
            int ecart = 0;
            for (int y = by; y < by + kBloc; ++y)
                for (int x = bx; x < bx + kBloc; ++x)
                    ecart += int(b.constScanLine(y)[x]) - int(a.constScanLine(y)[x]);
            differents += std::abs(ecart) > 64 * kBloc * kBloc;
        }
    return differents;
}

// Jobs the server knows of, finished or not.
int travaux()
{
    return int(executer(QStringLiteral("lpstat"),
                        {QStringLiteral("-W"), QStringLiteral("all"), QStringLiteral("-o")})
                   .split(u'\n', Qt::SkipEmptyParts)
                   .size());
}

// The enabled state and own cursor of a widget at each change of either.
class Journal : public QObject {
public:
    struct Etat {
        bool actif;
        int curseur; // -1: none of its own
        bool operator==(const Etat&) const = default;
    };
    QList<Etat> etats;

    explicit Journal(QWidget& w) { w.installEventFilter(this); }

    static Etat etat(const QWidget& w)
    {
        return {w.isEnabled(), w.testAttribute(Qt::WA_SetCursor) ? int(w.cursor().shape()) : -1};
    }

protected:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() == QEvent::EnabledChange || e->type() == QEvent::CursorChange)
            etats.append(etat(*static_cast<QWidget*>(o)));
        return false;
    }
};

// Chooses a printer and a number of copies in the print dialog, then Ok.
std::unique_ptr<PiloteModal> choisir(const QString& imprimante, const QString& copies,
                                     std::function<void()> avantOk = {})
{
    return std::make_unique<PiloteModal>("pavonis::impression::Frm_ImpressionA4", [=](QWidget& d) {
        if (avantOk)
            avantOk();
        d.findChild<QComboBox*>(QStringLiteral("Cbo_Imprimante"))->setCurrentText(imprimante);
        auto* zone = d.findChild<QLineEdit*>(QStringLiteral("Txt_NbCopies"));
        zone->setFocus();
        zone->selectAll();
        QTest::keyClick(zone, Qt::Key_Backspace);
        QTest::keyClicks(zone, copies);
        d.findChild<QPushButton*>(QStringLiteral("Cmd_Ok"))->click();
    });
}

// Reads the failure message box and the control's state while it shows.
struct Boite {
    QString texte, titre;
    Journal::Etat etatControle{};
    std::unique_ptr<PiloteModal> pilote;

    explicit Boite(const QWidget& controle)
    {
        pilote = std::make_unique<PiloteModal>("QMessageBox", [this, &controle](QWidget& w) {
            auto& b = static_cast<QMessageBox&>(w);
            texte = b.text();
            titre = b.windowTitle();
            etatControle = Journal::etat(controle);
            b.button(QMessageBox::Ok)->click();
        });
    }
    bool montree() const { return pilote->fait(); }
};

// The control sits in a window of the host application.
struct FenetreHote {
    QWidget fenetre;
    EcranEssai* ecran = new EcranEssai();

    FenetreHote()
    {
        ecran->setParent(&fenetre);
        fenetre.show();
    }
};

void remplir(EcranEssai& e)
{
    e.zone("Txt_NomBenef").setText(QStringLiteral("DUPONT Jeanne"));
    e.zone("Txt_NomEnqueteur").setText(QStringLiteral("Martin Paul"));
    e.repondre("ToiletteH", true, QStringLiteral("S"), QStringLiteral("B"));
    e.noteVariable(3, QStringLiteral("B"));
}

bool lpadmin(const QStringList& arguments)
{
    bool ok = false;
    executer(QStringLiteral("lpadmin"), arguments, &ok);
    return ok;
}

const Journal::Etat kLibre{true, -1};

} // namespace

namespace QTest {
template <> char* toString(const Journal::Etat& e)
{
    return qstrdup(QByteArray(e.actif ? "actif" : "inactif") + ", curseur " + QByteArray::number(e.curseur));
}
} // namespace QTest

namespace {
const Journal::Etat kOccupe{false, int(Qt::WaitCursor)};

} // namespace

class TestImpressionCups : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY2(qEnvironmentVariableIsSet("CUPS_SERVER") && dossierPdf().exists(),
                 "run through ctest: needs the private print server");
    }

    void troisCopies()
    {
        const QStringList avant = pdfs();
        FenetreHote hote;
        EcranEssai& ecran = *hote.ecran;
        remplir(ecran);
        Journal journal(ecran);
        const auto dialogue = choisir(QStringLiteral("Pavonis_PDF"), QStringLiteral("3"));
        const Boite boite(ecran);
        impression::ImprimerEvaluation(ecran);
        QVERIFY(dialogue->fait());
        QVERIFY2(!boite.montree(), qPrintable(boite.texte));
        // Hourglass and disabled while drawing, then back as before.
        QVERIFY(journal.etats.contains(kOccupe));
        QCOMPARE(journal.etats.last(), kLibre);
        QCOMPARE(Journal::etat(ecran), kLibre);

        // cups-pdf writes the job to its directory: wait for a complete file.
        QString info;
        QString fichier;
        QTRY_VERIFY_WITH_TIMEOUT(
            [&] {
                for (const QString& f : pdfs())
                    if (!avant.contains(f)) {
                        bool ok = false;
                        info = executer(QStringLiteral("pdfinfo"), {dossierPdf().filePath(f)}, &ok);
                        fichier = dossierPdf().filePath(f);
                        return ok;
                    }
                return false;
            }(),
            60000);
        QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+3\\n"))), qPrintable(info));
        QVERIFY2(info.contains(QStringLiteral("(A4)")), qPrintable(info));

        // The print chain turns the text into outlines, so the sheets are
        // compared as images: three identical sheets, each the page we
        // export ourselves.
        QTemporaryDir images;
        const QString reference = images.filePath(QStringLiteral("reference.pdf"));
        impression::ExporterPdf(ecran, reference);
        const QList<QImage> feuilles = pagesEnImages(fichier, images.filePath(QStringLiteral("feuille")));
        const QList<QImage> nous = pagesEnImages(reference, images.filePath(QStringLiteral("nous")));
        QCOMPARE(feuilles.size(), 3);
        QCOMPARE(nous.size(), 1);
        for (const QImage& f : feuilles) {
            QCOMPARE(f, feuilles.first());
            QVERIFY2(blocsDifferents(f, nous.first()) <= 4,
                     qPrintable(QString::number(blocsDifferents(f, nous.first()))));
        }
        // The comparison does see another evaluation: four rows answered
        // otherwise.
        for (const char* cle : {"Transferts", "DeplacInter", "Alerter", "Gestion"})
            ecran.repondre(cle, true, QString(), QStringLiteral("C"));
        impression::ExporterPdf(ecran, reference);
        const QImage autre = pagesEnImages(reference, images.filePath(QStringLiteral("autre"))).value(0);
        QVERIFY2(blocsDifferents(feuilles.first(), autre) > 12,
                 qPrintable(QString::number(blocsDifferents(feuilles.first(), autre))));
    }

    void annuler()
    {
        const int avant = travaux();
        FenetreHote hote;
        EcranEssai& ecran = *hote.ecran;
        Journal journal(ecran);
        PiloteModal dialogue("pavonis::impression::Frm_ImpressionA4", [](QWidget& d) {
            d.findChild<QPushButton*>(QStringLiteral("Cmd_Annuler"))->click();
        });
        const Boite boite(ecran);
        impression::ImprimerEvaluation(ecran);
        QVERIFY(dialogue.fait());
        QVERIFY(!boite.montree());
        QVERIFY(journal.etats.isEmpty());
        QCOMPARE(travaux(), avant);
    }

    void fileQuiRefuse()
    {
        const QString file = QStringLiteral("Bureau_Fichier");
        bool ok = false;
        executer(QStringLiteral("cupsreject"), {QStringLiteral("-r"), QStringLiteral("essai"), file}, &ok);
        QVERIFY(ok);
        const auto accepter = qScopeGuard([&] { executer(QStringLiteral("cupsaccept"), {file}); });
        FenetreHote hote;
        EcranEssai& ecran = *hote.ecran;
        Journal journal(ecran);
        const auto dialogue = choisir(file, QStringLiteral("1"));
        const Boite boite(ecran);
        impression::ImprimerEvaluation(ecran);
        QVERIFY(boite.montree());
        QCOMPARE(boite.titre, QStringLiteral("Impression"));
        QVERIFY2(boite.texte.contains(QStringLiteral("« Bureau_Fichier »")), qPrintable(boite.texte));
        QVERIFY2(boite.texte.contains(QStringLiteral("refuse les travaux")), qPrintable(boite.texte));
        // Restored before the user is told.
        QCOMPARE(boite.etatControle, kLibre);
        QVERIFY(journal.etats.contains(kOccupe));
        QVERIFY(!plateforme::Printer::courante().documentEnCours());
    }

    void fileDisparue()
    {
        const QString file = QStringLiteral("Zz_Pavonis_Disparue");
        QVERIFY(lpadmin({QStringLiteral("-p"), file, QStringLiteral("-E"), QStringLiteral("-v"),
                         QStringLiteral("file:///dev/null"), QStringLiteral("-m"), QStringLiteral("raw")}));
        const auto retirer = qScopeGuard([&] { lpadmin({QStringLiteral("-x"), file}); });
        FenetreHote hote;
        EcranEssai& ecran = *hote.ecran;
        bool retiree = false;
        // The queue goes away while the dialog that lists it is open.
        const auto dialogue = choisir(file, QStringLiteral("2"), [&] {
            retiree = lpadmin({QStringLiteral("-x"), file});
        });
        const Boite boite(ecran);
        impression::ImprimerEvaluation(ecran);
        QVERIFY(retiree);
        QVERIFY(boite.montree());
        QVERIFY2(boite.texte.contains(QStringLiteral("« Zz_Pavonis_Disparue »")), qPrintable(boite.texte));
        QVERIFY2(boite.texte.contains(QStringLiteral("n'existe pas ou plus")), qPrintable(boite.texte));
        QCOMPARE(boite.etatControle, kLibre);
        QCOMPARE(Journal::etat(ecran), kLibre);
    }

    // The page breaks off halfway (a control of the grid is missing): no job
    // goes out, the user is told, and the next print works.
    void echecEnCoursDePage()
    {
        const int avant = travaux();
        FenetreHote hoteIncomplet;
        EcranEssai& incomplet = *hoteIncomplet.ecran;
        delete incomplet.findChild<QWidget*>(QStringLiteral("Txt_CuisineNote"));
        {
            const auto dialogue = choisir(QStringLiteral("Pavonis_PDF"), QStringLiteral("1"));
            const Boite boite(incomplet);
            impression::ImprimerEvaluation(incomplet);
            QVERIFY(boite.montree());
            QVERIFY2(boite.texte.contains(QStringLiteral("« Pavonis_PDF »")), qPrintable(boite.texte));
            QVERIFY2(boite.texte.contains(QStringLiteral("Txt_CuisineNote")), qPrintable(boite.texte));
            QCOMPARE(boite.etatControle, kLibre);
        }
        QCOMPARE(travaux(), avant);
        QVERIFY(!plateforme::Printer::courante().documentEnCours());

        FenetreHote hote;
        EcranEssai& complet = *hote.ecran;
        const auto dialogue = choisir(QStringLiteral("Bureau_Fichier"), QStringLiteral("1"));
        const Boite boite(complet);
        impression::ImprimerEvaluation(complet);
        QVERIFY2(!boite.montree(), qPrintable(boite.texte));
        QCOMPARE(travaux(), avant + 1);
    }
};

QTEST_MAIN(TestImpressionCups)
#include "tst_impressioncups.moc"
