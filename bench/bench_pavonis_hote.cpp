// Resident memory of pavonis-hote once the control is created and Init has
// run: the program replays an empty scenario and reports its own VmRSS.

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

namespace {

void BM_MemoireApresInit(benchmark::State& state)
{
    QTemporaryDir dossier;
    const QString scenario = dossier.path() + "/vide.txt";
    QFile(scenario).open(QIODevice::WriteOnly);
    const QString etat = dossier.path() + "/etat.json";
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_DATA_HOME", dossier.path());
    env.insert("XDG_CONFIG_HOME", dossier.path());
    double ko = 0;
    for (auto _ : state) {
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(PAVONIS_HOTE, {"--scenario", scenario, "--etat", etat});
        if (!p.waitForFinished(60000) || p.exitCode() != 0) {
            state.SkipWithError("pavonis-hote a échoué");
            break;
        }
        QFile f(etat);
        f.open(QIODevice::ReadOnly);
        ko = QJsonDocument::fromJson(f.readAll()).object()["memoire_residente_ko"].toDouble();
    }
    state.counters["Mo_residents"] = ko / 1024.0;
}
BENCHMARK(BM_MemoireApresInit)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
