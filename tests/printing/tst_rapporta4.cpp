// The A4 evaluation report, on the raster back end (boxes, colours, frames)
// and in PDF (texts, fonts, positions), from a stand-in screen.

#include "EcranEssai.h"
#include "LecteurEcran.h"

#include <DateDuJour.h>
#include <DocumentImage.h>
#include <FeuilleA4.h>
#include <GrilleAggir.h>
#include <ImpressionEvaluation.h>
#include <MiseEnPageRapport.h>
#include <pavonis/Erreur.h>

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPainter>
#include <QProcess>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

#include <cmath>

using namespace pavonis;
using impression::MiseEnPageRapport;
using plateforme::FeuilleA4;

namespace {

constexpr double kPpp = 150.0;

int px(double twips)
{
    return int((FeuilleA4::kMargeTwips + twips) * kPpp / 1440.0);
}

bool sombre(const QColor& c)
{
    return c.lightness() < 100;
}
bool blanc(const QColor& c)
{
    return c.lightness() > 200;
}
bool rouge(const QColor& c)
{
    return c.red() > 160 && c.green() < 110 && c.blue() < 110;
}

// The printed rows, in print order, straight from the grid's tables.
QList<const LigneEvaluation*> lignesImprimees()
{
    QList<const LigneEvaluation*> lignes;
    const auto ajouter = [&](int n) {
        const VariableAggir& v = grille::variable(n);
        for (std::size_t i = 0; i < v.nbLignes; ++i)
            lignes.append(&grille::kLignes[v.premiereLigne + i]);
    };
    for (int n : grille::kOrdreDiscriminantes)
        ajouter(n);
    for (int n : grille::kOrdreIllustratives)
        ajouter(n);
    return lignes;
}

QString qs(std::string_view s)
{
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

QString sortie(const QString& programme, const QStringList& arguments)
{
    QProcess p;
    p.start(programme, arguments);
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return QString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

QString espacesReduits(QString s)
{
    return s.replace(QRegularExpression(QStringLiteral("\\s+")), QStringLiteral(" "));
}

// One text run of the PDF, as pdftohtml reads it (points from the sheet's corner).
struct Run {
    QString texte;
    double gauche, haut; // twips from the report's origin
    bool gras, rouge;
    int taille;
};

QList<Run> runsPdf(const QString& chemin)
{
    QXmlStreamReader xml(
        sortie(QStringLiteral("pdftohtml"),
               {QStringLiteral("-xml"), QStringLiteral("-i"), QStringLiteral("-stdout"), QStringLiteral("-q"),
                QStringLiteral("-zoom"), QStringLiteral("1"), chemin}));
    QHash<QString, std::pair<int, bool>> polices; // id -> size, red
    QList<Run> runs;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QXmlStreamAttributes a = xml.attributes();
        if (xml.name() == QLatin1String("fontspec")) {
            polices.insert(
                a.value(QLatin1String("id")).toString(),
                {a.value(QLatin1String("size")).toInt(),
                 a.value(QLatin1String("color")).compare(QLatin1String("#ff0000"), Qt::CaseInsensitive) ==
                     0});
        } else if (xml.name() == QLatin1String("text")) {
            const auto police = polices.value(a.value(QLatin1String("font")).toString());
            Run r{QString(),
                  a.value(QLatin1String("left")).toDouble() * 20 - FeuilleA4::kMargeTwips,
                  a.value(QLatin1String("top")).toDouble() * 20 - FeuilleA4::kMargeTwips,
                  false,
                  police.second,
                  police.first};
            // The text, with <b> around it when bold.
            for (int profondeur = 1; profondeur > 0 && !xml.atEnd();) {
                switch (xml.readNext()) {
                case QXmlStreamReader::StartElement:
                    ++profondeur;
                    r.gras = r.gras || xml.name() == QLatin1String("b");
                    break;
                case QXmlStreamReader::EndElement:
                    --profondeur;
                    break;
                case QXmlStreamReader::Characters:
                    r.texte += xml.text();
                    break;
                default:
                    break;
                }
            }
            runs.append(r);
        }
    }
    return runs;
}

} // namespace

class TestRapportA4 : public QObject {
    Q_OBJECT

    EcranEssai ecran_;
    QImage page_;
    // Vertical centre (pixels) of each printed row's boxes, found on the page.
    QList<int> centresLignes_;
    QTemporaryDir dossier_;
    QString pdf_;
    QList<Run> runs_;

    void remplir()
    {
        ecran_.zone("Txt_NomBenef").setText(QStringLiteral("DUPONT Jeanne"));
        ecran_.zone("Txt_NomEnqueteur").setText(QStringLiteral("Martin Paul"));
        ecran_.zone("Txt_DateEval").setText(QStringLiteral("01/02/2003"));
        ecran_.repondre("Transferts", true, QString(), QStringLiteral("C"));
        ecran_.repondre("ToiletteB", true, QStringLiteral("TH"), QStringLiteral("B"));
        ecran_.repondre("HabillageM", true, QStringLiteral("STCH"), QStringLiteral("B"));
        ecran_.repondre("Cuisine", false, QStringLiteral("ST"), QStringLiteral("A"));
        ecran_.repondre("Gestion", true, QStringLiteral("S"), QStringLiteral("B"));
        ecran_.repondre("CoherenceComportement", true, QString(), QStringLiteral("C"));
        ecran_.noteVariable(1, QStringLiteral("C"));
        ecran_.noteVariable(3, QStringLiteral("B"));
        ecran_.noteVariable(5, QStringLiteral("B"));
        ecran_.noteVariable(17, QStringLiteral("C"));
        ecran_.zone("Txt_Groupe").setText(QStringLiteral("4"));
        ecran_.zone("Txt_SousGroupe").setText(QString());
    }

    // Boxes are found by walking down the left edge of the NE FAIT PAS
    // column: every row has that box, outlined or black.
    QList<int> trouverLignes() const
    {
        QList<int> centres;
        const int x = px(MiseEnPageRapport::kXCases[0]);
        int debut = -1;
        for (int y = 0; y < page_.height(); ++y) {
            bool encre = false;
            for (int dx = -2; dx <= 2; ++dx)
                encre = encre || sombre(page_.pixelColor(x + dx, y));
            if (encre && debut < 0)
                debut = y;
            if (!encre && debut >= 0) {
                const int longueur = y - debut;
                if (longueur >= 17 && longueur <= 25)
                    centres.append((debut + y) / 2);
                debut = -1;
            }
        }
        return centres;
    }

private slots:
    void initTestCase()
    {
        DateDuJour::simuler(QDate(2026, 3, 14));
        remplir();
        page_ = impression::RendreImage(impression::LecteurEcran(ecran_), kPpp);
        centresLignes_ = trouverLignes();
        QVERIFY(dossier_.isValid());
        pdf_ = dossier_.filePath(QStringLiteral("evaluation.pdf"));
        impression::ExporterPdf(ecran_, pdf_);
        runs_ = runsPdf(pdf_);
        QVERIFY2(!runs_.isEmpty(), "pdftohtml (poppler-utils) is needed");
        if (qEnvironmentVariableIsSet("PAVONIS_APERCU"))
            page_.save(qEnvironmentVariable("PAVONIS_APERCU"));
    }

    // The five boxes of every row: black, white, or not drawn at all.
    void casesLignes_data()
    {
        QTest::addColumn<int>("rang");
        QTest::addColumn<QString>("attendu"); // NE FAIT PAS, S, T, C, H: N black, B white, - absent
        const QHash<QString, QString> reponses{
            {QStringLiteral("Transferts"), QStringLiteral("N----")},
            {QStringLiteral("ToiletteB"), QStringLiteral("BBNBN")},
            {QStringLiteral("HabillageM"), QStringLiteral("BNNNN")},
            {QStringLiteral("Cuisine"), QStringLiteral("BBBBB")}, // "Fait": adverbs ignored
            {QStringLiteral("Gestion"), QStringLiteral("BNBBB")},
            {QStringLiteral("CoherenceComportement"), QStringLiteral("N----")},
        };
        const QList<const LigneEvaluation*> lignes = lignesImprimees();
        for (int i = 0; i < lignes.size(); ++i) {
            const QString cle = qs(lignes[i]->cle);
            QTest::newRow(qPrintable(cle)) << i << reponses.value(cle, QStringLiteral("BBBBB"));
        }
    }

    void casesLignes()
    {
        QFETCH(int, rang);
        QFETCH(QString, attendu);
        QCOMPARE(centresLignes_.size(), qsizetype(grille::kNbLignes));
        const int y = centresLignes_[rang];
        for (int i = 0; i < 5; ++i) {
            const double x = MiseEnPageRapport::kXCases[std::size_t(i)];
            const QColor centre = page_.pixelColor(px(x + MiseEnPageRapport::kCoteCase / 2), y);
            const QString ou = QStringLiteral("case %1").arg(i);
            switch (attendu[i].unicode()) {
            case 'N':
                QVERIFY2(sombre(centre), qPrintable(ou));
                break;
            case 'B':
                QVERIFY2(blanc(centre), qPrintable(ou));
                QVERIFY2(sombre(page_.pixelColor(px(x), y)) || sombre(page_.pixelColor(px(x) + 1, y)),
                         qPrintable(ou + QStringLiteral(" sans contour")));
                break;
            default:
                QVERIFY2(blanc(centre), qPrintable(ou));
                for (int dx = -1; dx <= 1; ++dx)
                    QVERIFY2(blanc(page_.pixelColor(px(x) + dx, y)),
                             qPrintable(ou + QStringLiteral(" dessinée")));
            }
        }
        // Nothing but the box between the columns.
        QVERIFY(blanc(page_.pixelColor(px(4700), y)));
    }

    // Each variable's note in red inside its note box; row notes in black.
    void notes_data()
    {
        QTest::addColumn<int>("rang");
        const auto variables = MiseEnPageRapport::variables();
        for (int i = 0; i < int(variables.size()); ++i)
            QTest::newRow(qPrintable(qs(variables[std::size_t(i)].variable->libelleImprime))) << i;
    }

    void notes()
    {
        QFETCH(int, rang);
        const auto& v = MiseEnPageRapport::variables()[std::size_t(rang)];
        int rouges = 0, noirsAGauche = 0, rougesAGauche = 0;
        for (int y = px(v.yNoteHaut) + 2; y < px(v.yNoteBas) - 1; ++y) {
            for (int x = px(MiseEnPageRapport::kXNoteVariable); x < px(MiseEnPageRapport::kXNoteDroite) - 2;
                 ++x)
                rouges += rouge(page_.pixelColor(x, y));
            for (int x = px(MiseEnPageRapport::kXNoteLigne); x < px(MiseEnPageRapport::kXNoteVariable); ++x) {
                noirsAGauche += sombre(page_.pixelColor(x, y));
                rougesAGauche += rouge(page_.pixelColor(x, y));
            }
        }
        QVERIFY2(rouges > 10, qPrintable(QString::number(rouges)));
        QVERIFY2(noirsAGauche > 10, qPrintable(QString::number(noirsAGauche)));
        QCOMPARE(rougesAGauche, 0);
    }

    // The frames, the GIR box and the note boxes.
    void cadres()
    {
        const auto ligneH = [&](double y, double x1, double x2) {
            for (double x = x1 + 50; x < x2 - 40; x += (x2 - x1) / 23) {
                const int py = px(y), pxx = px(x);
                if (!(sombre(page_.pixelColor(pxx, py)) || sombre(page_.pixelColor(pxx, py + 1)) ||
                      sombre(page_.pixelColor(pxx, py - 1))))
                    return false;
            }
            return true;
        };
        const auto ligneV = [&](double x, double y1, double y2) {
            for (double y = y1 + 50; y < y2 - 40; y += (y2 - y1) / 13) {
                const int pxx = px(x), py = px(y);
                if (!(sombre(page_.pixelColor(pxx, py)) || sombre(page_.pixelColor(pxx + 1, py)) ||
                      sombre(page_.pixelColor(pxx - 1, py))))
                    return false;
            }
            return true;
        };
        const auto boite = [&](const MiseEnPageRapport::Cadre& c) {
            return ligneH(c.y1, c.x1, c.x2) && ligneH(c.y2, c.x1, c.x2) && ligneV(c.x1, c.y1, c.y2) &&
                   ligneV(c.x2, c.y1, c.y2);
        };
        for (const auto& c : MiseEnPageRapport::kCadres)
            QVERIFY2(boite(c), qPrintable(QString::number(c.y1)));
        QVERIFY(boite(MiseEnPageRapport::kCadreGir));
        for (const auto& v : MiseEnPageRapport::variables())
            QVERIFY2(boite({MiseEnPageRapport::kXNoteGauche, v.yNoteHaut, MiseEnPageRapport::kXNoteDroite,
                            v.yNoteBas}),
                     qPrintable(qs(v.variable->libelleImprime)));
        // No frame between the header and the grid.
        QVERIFY(blanc(page_.pixelColor(px(11056.5), px(1500))));
        QVERIFY(blanc(page_.pixelColor(px(0), px(1500))));
        // The GIR in red in its box.
        int rouges = 0;
        for (int y = px(4989.6); y < px(5556.6); ++y)
            for (int x = px(9000); x < px(10000); ++x)
                rouges += rouge(page_.pixelColor(x, y));
        QVERIFY(rouges > 100);
    }

    // The same page through any painter: one drawing path for every back end.
    void peintreQuelconque()
    {
        QImage image(page_.size(), QImage::Format_RGB32);
        image.fill(Qt::white);
        image.setDotsPerMeterX(page_.dotsPerMeterX());
        image.setDotsPerMeterY(page_.dotsPerMeterY());
        QPainter p(&image);
        p.translate(FeuilleA4::kMargeTwips * kPpp / 1440.0, FeuilleA4::kMargeTwips * kPpp / 1440.0);
        impression::PeindreEvaluation(p, impression::LecteurEcran(ecran_));
        p.end();
        QCOMPARE(image, page_);
    }

    void textesPdf()
    {
        const QString texte =
            espacesReduits(sortie(QStringLiteral("pdftotext"), {pdf_, QStringLiteral("-")}));
        QStringList attendus{
            QStringLiteral("Bénéficiaire DUPONT Jeanne"),
            QStringLiteral("Date d'évaluation"),
            QStringLiteral("Evaluateur"),
            QStringLiteral("Martin Paul"),
            QStringLiteral("Variables discriminantes"),
            QStringLiteral("Variables illustratives"),
            QStringLiteral("NE FAIT"),
            QStringLiteral("PAS"),
            QStringLiteral("GIR"),
            QStringLiteral("Ne fait pas : Il faut faire à la place, ou \"faire faire\", ou tout refaire"),
            QStringLiteral(
                "La case est noire (cochée) si la personne ne fait jamais seule, même partiellement, "
                "même difficilement"),
            QStringLiteral(
                "Fait même difficilement S- Spontanément T- Totalement C- Correctement H- Habituellement"),
            QStringLiteral("La case est noire (cochée) quand les conditions ne sont pas remplies"),
            // The date of printing.
            QStringLiteral("14/03/2026"),
        };
        for (const VariableAggir& v : grille::kVariables)
            attendus << qs(v.libelleImprime).trimmed();
        for (const LigneEvaluation& l : grille::kLignes)
            if (!l.sousVariableImprimee.empty())
                attendus << qs(l.sousVariableImprimee);
        for (const QString& a : attendus)
            QVERIFY2(texte.contains(espacesReduits(a)), qPrintable(a));
        // The evaluation date typed on the screen is not printed.
        QVERIFY(!texte.contains(QStringLiteral("01/02/2003")));
    }

    // Labels bold for the discriminant variables only; red for the variable
    // notes and the GIR only; texts at their columns.
    void policesEtPositions()
    {
        const auto run = [&](const QString& t) -> const Run* {
            for (const Run& r : runs_)
                if (r.texte == t)
                    return &r;
            return nullptr;
        };
        for (const auto& v : MiseEnPageRapport::variables()) {
            const Run* r = run(qs(v.variable->libelleImprime));
            QVERIFY2(r, qPrintable(qs(v.variable->libelleImprime)));
            QCOMPARE(r->gras, v.variable->nature == Nature::Discriminante);
            QVERIFY(!r->rouge);
            QCOMPARE(r->taille, 10);
            QVERIFY(std::abs(r->gauche) <= 25);
        }
        int notesRouges = 0;
        for (const Run& r : runs_) {
            const bool noteVariable = std::abs(r.gauche - MiseEnPageRapport::kXNoteVariable) <= 25;
            const bool noteLigne = std::abs(r.gauche - MiseEnPageRapport::kXNoteLigne) <= 25;
            const bool gir = r.gauche > MiseEnPageRapport::kCadreGir.x1 && r.haut > 4900;
            if (noteVariable)
                ++notesRouges;
            QVERIFY2(r.rouge == (noteVariable || gir), qPrintable(r.texte));
            if (noteVariable || noteLigne) {
                QVERIFY2(r.gras, qPrintable(r.texte));
                QCOMPARE(r.texte.size(), 1);
            }
        }
        QCOMPARE(notesRouges, int(grille::kNbVariables));
        // The variable note sits in its note box (within the drift of the
        // design's boxes against a 230-twip line).
        for (const auto& v : MiseEnPageRapport::variables()) {
            bool dedans = false;
            for (const Run& r : runs_)
                dedans = dedans || (r.rouge && std::abs(r.gauche - MiseEnPageRapport::kXNoteVariable) <= 25 &&
                                    r.haut >= v.yNoteHaut - 130 && r.haut + 200 <= v.yNoteBas + 130);
            QVERIFY2(dedans, qPrintable(qs(v.variable->libelleImprime)));
        }
        // Header and GIR at their places.
        const Run* evaluateur = run(QStringLiteral("Evaluateur"));
        QVERIFY(evaluateur && std::abs(evaluateur->gauche - MiseEnPageRapport::kXEvaluateur) <= 25);
        const Run* nom = run(QStringLiteral("DUPONT Jeanne"));
        QVERIFY(nom && nom->gras && nom->taille == 11 &&
                std::abs(nom->gauche - MiseEnPageRapport::kXNomBeneficiaire) <= 25);
        const Run* gir = run(QStringLiteral("GIR"));
        QVERIFY(gir && gir->taille == 24 && !gir->rouge &&
                std::abs(gir->haut - MiseEnPageRapport::kYGir) <= 25);
        const Run* groupe = run(QStringLiteral("4"));
        QVERIFY(groupe && groupe->rouge && groupe->taille == 24);
        // The legend follows the grid: three lines below " 15- Gestion"
        // (its line and two empty prints), not below the GIR block.
        const Run* gestion = run(QStringLiteral(" 15- Gestion"));
        const Run* legende = nullptr;
        for (const Run& r : runs_)
            if (r.texte.startsWith(QStringLiteral("Ne fait pas :")))
                legende = &r;
        QVERIFY(gestion && legende);
        QVERIFY2(std::abs(legende->haut - (gestion->haut + 3 * 230)) <= 40,
                 qPrintable(QString::number(legende->haut)));
        QCOMPARE(legende->taille, 8);
        QVERIFY(legende->gras);
    }

    // Printing only reads the screen.
    void ecranInchange()
    {
        const auto etat = [&] {
            QStringList s;
            for (const auto* w : ecran_.findChildren<QWidget*>()) {
                if (const auto* o = qobject_cast<const QRadioButton*>(w))
                    s << w->objectName() + QString::number(o->isChecked());
                else if (const auto* c = qobject_cast<const QCheckBox*>(w))
                    s << w->objectName() + QString::number(c->isChecked());
                else if (const auto* t = qobject_cast<const QLineEdit*>(w))
                    s << w->objectName() + t->text();
            }
            return s;
        };
        const QStringList avant = etat();
        QVERIFY(avant.size() > 150);
        impression::RendreImage(impression::LecteurEcran(ecran_), 50);
        QCOMPARE(etat(), avant);
    }

    // A screen without one of the controls, or with one of another kind.
    void ecranIncomplet_data()
    {
        QTest::addColumn<QString>("nom");
        QTest::addColumn<bool>("remplace");
        QTest::addColumn<int>("code");
        QTest::newRow("note absente")
            << QStringLiteral("Txt_CuisineNote") << false << int(Erreur::Code::ObjetAbsent);
        QTest::newRow("option absente")
            << QStringLiteral("Opt_HabillageMoyenFaitPas") << false << int(Erreur::Code::ObjetAbsent);
        QTest::newRow("case d'un autre genre")
            << QStringLiteral("Cac_GestionH") << true << int(Erreur::Code::InterfaceAbsente);
        QTest::newRow("GIR absent") << QStringLiteral("Txt_Groupe") << false
                                    << int(Erreur::Code::ObjetAbsent);
    }

    void ecranIncomplet()
    {
        QFETCH(QString, nom);
        QFETCH(bool, remplace);
        QFETCH(int, code);
        EcranEssai ecran;
        QWidget* w = ecran.findChild<QWidget*>(nom);
        QVERIFY(w);
        QWidget* parent = w->parentWidget();
        delete w;
        if (remplace)
            (new QLineEdit(parent))->setObjectName(nom);
        const QString chemin = dossier_.filePath(QStringLiteral("incomplet.pdf"));
        try {
            impression::ExporterPdf(ecran, chemin);
            QFAIL("no error");
        } catch (const Erreur& e) {
            QCOMPARE(int(e.code()), code);
            QVERIFY2(QString::fromUtf8(e.what()).contains(nom), e.what());
        }
        QVERIFY(!QFile::exists(chemin));
    }

    void pdfIllisible()
    {
        try {
            impression::ExporterPdf(ecran_, dossier_.filePath(QStringLiteral("absent/evaluation.pdf")));
            QFAIL("no error");
        } catch (const Erreur& e) {
            QCOMPARE(e.code(), Erreur::Code::Plateforme);
            QVERIFY2(
                QString::fromUtf8(e.what()).startsWith(QStringLiteral("Impossible d'écrire le fichier PDF")),
                e.what());
        }
    }
};

QTEST_MAIN(TestRapportA4)
#include "tst_rapporta4.moc"
