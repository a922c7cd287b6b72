// pavonis-gir end to end: a 1,000,000-line modality file through the
// program, output to /dev/null.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

constexpr int kLignes = 1'000'000;

const std::filesystem::path& fichierEssai()
{
    static const std::filesystem::path chemin = [] {
        const auto p = std::filesystem::temp_directory_path() / "pavonis-bench-1M.csv";
        std::ofstream f(p, std::ios::binary);
        f << "dossier;coherence;orientation;toilette;habillage;alimentation;elimination;transferts;"
             "deplacements_interieurs;deplacements_exterieurs;alerter\n";
        std::mt19937 alea(7);
        std::uniform_int_distribution<int> lettre(0, 2);
        std::string ligne;
        for (int i = 0; i < kLignes; ++i) {
            ligne = "D" + std::to_string(i);
            for (int c = 0; c < 10; ++c) {
                ligne += ';';
                ligne += static_cast<char>('A' + lettre(alea));
            }
            ligne += '\n';
            f << ligne;
        }
        return p;
    }();
    return chemin;
}

// Runs the program with the file on standard input; returns its exit status.
int executer(const std::filesystem::path& entree)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, entree.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    char programme[] = PAVONIS_GIR;
    char* argv[] = {programme, nullptr};
    pid_t pid = 0;
    int statut = -1;
    if (posix_spawn(&pid, programme, &actions, nullptr, argv, environ) == 0)
        waitpid(pid, &statut, 0);
    posix_spawn_file_actions_destroy(&actions);
    return WIFEXITED(statut) ? WEXITSTATUS(statut) : -1;
}

void BM_PavonisGir1M(benchmark::State& state)
{
    const auto& entree = fichierEssai();
    for (auto _ : state) {
        const auto debut = std::chrono::steady_clock::now();
        const int statut = executer(entree);
        const std::chrono::duration<double> duree = std::chrono::steady_clock::now() - debut;
        if (statut != 0) {
            state.SkipWithError("pavonis-gir a échoué");
            break;
        }
        state.SetIterationTime(duree.count());
    }
    state.SetItemsProcessed(state.iterations() * kLignes);
}
BENCHMARK(BM_PavonisGir1M)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

BENCHMARK_MAIN();
