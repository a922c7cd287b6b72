// The control through its real widgets (offscreen): creating and showing
// it, Init on the SQLite store, a click until the GIR is rewritten, and a
// mouse move over a variable.

#include "HoteEssai.h"
#include <pavonis/platform/BoiteMessage.h>

#include <pavonis/evaluation/FormatEvaluation.h>

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

using namespace pavonis;
using namespace pavonis::essai;

namespace {

void BM_CreationEtPremierAffichage(benchmark::State& state)
{
    HoteEssai hote;
    hote.fenetre().show();
    for (auto _ : state) {
        Uc_Pavonis* c = hote.creerControle();
        c->show();
        c->repaint(); // the first paint of every control
        state.PauseTiming();
        delete c;
        state.ResumeTiming();
    }
}
BENCHMARK(BM_CreationEtPremierAffichage)->Unit(benchmark::kMillisecond);

void BM_Init(benchmark::State& state)
{
    HoteEssai hote;
    Uc_Pavonis* c = hote.creerControle();
    hote.fenetre().show();
    c->Init();
    for (auto _ : state) {
        // After an evaluation, so that the reset has every row to settle.
        state.PauseTiming();
        for (QWidget* w : c->findChildren<QWidget*>(QRegularExpression("^Opt_.*FaitPas$")))
            QTest::mouseClick(w, Qt::LeftButton);
        state.ResumeTiming();
        c->Init();
    }
}
BENCHMARK(BM_Init)->Unit(benchmark::kMillisecond);

// An evaluation with answers on most rows, for the exchange benchmarks.
void repondre(Uc_Pavonis& c)
{
    for (QWidget* w : c.findChildren<QWidget*>(QRegularExpression("^Opt_.*FaitPas$")))
        QTest::mouseClick(w, Qt::LeftButton);
    for (const char* nom : {"Cac_ToiletteHS", "Cac_HabillageBC", "Cac_HabillageBH", "Cac_DeplacExterT"})
        QTest::mouseClick(c.findChild<QWidget*>(nom), Qt::LeftButton);
}

// What the screen shows, as data and as the exchange format's JSON.
void BM_EvaluationVersJson(benchmark::State& state)
{
    HoteEssai hote;
    Uc_Pavonis* c = hote.creerControle();
    hote.fenetre().show();
    c->Init();
    repondre(*c);
    for (auto _ : state)
        benchmark::DoNotOptimize(FormatEvaluation::ecrire(c->evaluation(), c->resultats()));
}
BENCHMARK(BM_EvaluationVersJson)->Unit(benchmark::kMicrosecond);

// The JSON read, then restored onto the screen through the row rule.
void BM_JsonVersEcran(benchmark::State& state)
{
    HoteEssai hote;
    Uc_Pavonis* c = hote.creerControle();
    hote.fenetre().show();
    c->Init();
    repondre(*c);
    const std::string json = FormatEvaluation::ecrire(c->evaluation(), c->resultats());
    c->Init();
    for (auto _ : state)
        c->chargerEvaluation(FormatEvaluation::lire(json).evaluation);
}
BENCHMARK(BM_JsonVersEcran)->Unit(benchmark::kMicrosecond);

// A tick on an adverb box of a "Ne fait pas" row, until Txt_Groupe is written.
void BM_ClicCase(benchmark::State& state)
{
    HoteEssai hote;
    Uc_Pavonis* c = hote.creerControle();
    hote.fenetre().show();
    c->Init();
    cliquer(*c, "Opt_CuisineFaitPas");
    QWidget* boite = enfant(*c, "Cac_CuisineS");
    auto* groupe = qobject_cast<QLineEdit*>(enfant(*c, "Txt_Groupe"));
    const QPoint centre = boite->rect().center();
    for (auto _ : state) {
        QTest::mouseClick(boite, Qt::LeftButton, {}, centre);
        benchmark::DoNotOptimize(groupe->text());
    }
}
BENCHMARK(BM_ClicCase)->Unit(benchmark::kMicrosecond);

struct Survol {
    HoteEssai hote;
    Uc_Pavonis* c;
    Survol()
    {
        const QDir source(QStringLiteral(PAVONIS_AIDE));
        for (const QString& f : source.entryList(QDir::Files))
            QFile::copy(source.filePath(f), hote.repertoireAide + '/' + f);
        c = hote.creerControle();
        hote.fenetre().show();
        c->Init();
    }
};

// One mouse-move event, as the toolkit delivers it to the widget under the
// mouse (the window system's own queue is not measured).
void bouger(QWidget* w, int x)
{
    QMouseEvent e(QEvent::MouseMove, QPointF(x, 5), w->mapToGlobal(QPointF(x, 5)), Qt::NoButton, Qt::NoButton,
                  Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

// The page of the variable is already shown: the pane is placed again only.
void BM_SurvolMemePage(benchmark::State& state)
{
    Survol s;
    QWidget* etiquette = enfant(*s.c, "Etq_Menage2008");
    bouger(etiquette, 5);
    int x = 5;
    for (auto _ : state) {
        x = x == 5 ? 6 : 5;
        bouger(etiquette, x);
    }
}
BENCHMARK(BM_SurvolMemePage)->Unit(benchmark::kMicrosecond);

// The same through the window system's queue, as QTest delivers it.
void BM_SurvolMemePageParLaFenetre(benchmark::State& state)
{
    Survol s;
    QWidget* etiquette = enfant(*s.c, "Etq_Menage2008");
    QTest::mouseMove(etiquette, {5, 5});
    int x = 5;
    for (auto _ : state) {
        x = x == 5 ? 6 : 5;
        QTest::mouseMove(etiquette, {x, 5});
    }
}
BENCHMARK(BM_SurvolMemePageParLaFenetre)->Unit(benchmark::kMicrosecond);

// Every move changes variable: each one loads a page.
void BM_SurvolNouvellePage(benchmark::State& state)
{
    Survol s;
    QWidget* a = enfant(*s.c, "Etq_Menage2008");
    QWidget* b = enfant(*s.c, "Etq_Toilette2008");
    bool bascule = false;
    for (auto _ : state) {
        bascule = !bascule;
        bouger(bascule ? a : b, 5);
    }
}
BENCHMARK(BM_SurvolNouvellePage)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    QApplication app(argc, argv);
    // A message box would wait for a user who is not there.
    BoiteMessage::intercepter(
        [](const BoiteMessage::Message& m) { qFatal("message inattendu : %s", qUtf8Printable(m.texte)); });
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
