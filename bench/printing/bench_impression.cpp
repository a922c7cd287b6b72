// The A4 evaluation page, drawn whole: to PDF (target <= 20 ms) and to a
// 150-dpi image (target <= 30 ms). The PDF is measured in memory, and again
// as a file, which adds writing it and syncing it to disk. The example
// evaluation has answers on every kind of row.

#include <pavonis/evaluation/FormatEvaluation.h>
#include <pavonis/presentation/DessinRapport.h>
#include <pavonis/presentation/DonneesEvaluation.h>
#include <pavonis/printing/DocumentImage.h>
#include <pavonis/printing/DocumentPdf.h>
#include <pavonis/printing/ImpressionEvaluation.h>

#include <QApplication>
#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

using namespace pavonis;

namespace {

// The example evaluation, with the results written in it.
const impression::DonneesEvaluation& evaluation()
{
    static const auto* d = [] {
        QFile f(QStringLiteral(PAVONIS_EVALUATION));
        if (!f.open(QIODevice::ReadOnly))
            qFatal("cannot read %s", PAVONIS_EVALUATION);
        const QByteArray json = f.readAll();
        const auto lecture =
            FormatEvaluation::lire(std::string_view(json.constData(), std::size_t(json.size())));
        return new impression::DonneesEvaluation(lecture.evaluation, lecture.resultats.value());
    }();
    return *d;
}

void BM_PagePdf(benchmark::State& state)
{
    QBuffer sortie;
    for (auto _ : state) {
        sortie.setData(QByteArray());
        sortie.open(QIODevice::WriteOnly);
        impression::DocumentPdf page(sortie);
        impression::dessinerEvaluation(page, evaluation(), "05/12/2026");
        page.EndDoc();
        sortie.close();
    }
    state.counters["octets"] = double(sortie.data().size());
}
BENCHMARK(BM_PagePdf)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FichierPdf(benchmark::State& state)
{
    QTemporaryDir dossier;
    const QString chemin = dossier.filePath(QStringLiteral("evaluation.pdf"));
    for (auto _ : state) {
        impression::DocumentPdf page(chemin);
        impression::dessinerEvaluation(page, evaluation(), "05/12/2026");
        page.EndDoc();
    }
}
BENCHMARK(BM_FichierPdf)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PageImage(benchmark::State& state)
{
    for (auto _ : state) {
        impression::DocumentImage page(150.0);
        impression::dessinerEvaluation(page, evaluation(), "05/12/2026");
        page.EndDoc();
        benchmark::DoNotOptimize(page.image().constBits());
    }
}
BENCHMARK(BM_PageImage)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
