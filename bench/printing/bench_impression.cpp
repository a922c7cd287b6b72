// The A4 evaluation page, drawn whole: to PDF (target <= 20 ms) and to a
// 150-dpi image (target <= 30 ms). The PDF is measured in memory, and again
// as a file, which adds writing it and syncing it to disk. A screen with
// answers on every kind of row, as an evaluation would have.

#include "EcranEssai.h"

#include <DocumentImage.h>
#include <DocumentPdf.h>
#include <ImpressionEvaluation.h>
#include <LecteurEcran.h>

#include <QApplication>
#include <QBuffer>
#include <QLineEdit>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

using namespace pavonis;

namespace {

EcranEssai& ecran()
{
    static EcranEssai* e = [] {
        auto* s = new EcranEssai();
        s->zone("Txt_NomBenef").setText(QStringLiteral("DUPONT Jeanne"));
        s->zone("Txt_NomEnqueteur").setText(QStringLiteral("Martin Paul"));
        s->repondre("Transferts", true, QString(), QStringLiteral("C"));
        s->repondre("ToiletteH", true, QStringLiteral("ST"), QStringLiteral("B"));
        s->repondre("HabillageM", true, QStringLiteral("TH"), QStringLiteral("B"));
        s->repondre("Cuisine", true, QStringLiteral("STCH"), QStringLiteral("B"));
        s->zone("Txt_Groupe").setText(QStringLiteral("3"));
        return s;
    }();
    return *e;
}

void BM_PagePdf(benchmark::State& state)
{
    QBuffer sortie;
    for (auto _ : state) {
        sortie.setData(QByteArray());
        sortie.open(QIODevice::WriteOnly);
        plateforme::DocumentPdf page(sortie);
        impression::DessinerEvaluation(page, impression::LecteurEcran(ecran()));
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
        plateforme::DocumentPdf page(chemin);
        impression::DessinerEvaluation(page, impression::LecteurEcran(ecran()));
        page.EndDoc();
    }
}
BENCHMARK(BM_FichierPdf)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PageImage(benchmark::State& state)
{
    for (auto _ : state) {
        plateforme::DocumentImage page(150.0);
        impression::DessinerEvaluation(page, impression::LecteurEcran(ecran()));
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
