// pavonis-rapport end to end: a process that reads an evaluation, opens the
// parameter store, and writes the A4 page as PDF, then PDF/A-1b.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace {

int executer(bool archive)
{
    static const std::string sortie =
        (std::filesystem::temp_directory_path() / "pavonis-bench-rapport.pdf").string();
    std::string programme = PAVONIS_RAPPORT, entree = PAVONIS_EVALUATION, o = "-o", s = sortie, a = "--pdfa";
    char* argv[] = {programme.data(), entree.data(), o.data(), s.data(), archive ? a.data() : nullptr,
                    nullptr};
    pid_t pid = 0;
    int statut = -1;
    if (posix_spawn(&pid, programme.c_str(), nullptr, nullptr, argv, environ) == 0)
        waitpid(pid, &statut, 0);
    return WIFEXITED(statut) ? WEXITSTATUS(statut) : -1;
}

void BM_PavonisRapport(benchmark::State& state)
{
    for (auto _ : state) {
        const auto debut = std::chrono::steady_clock::now();
        if (executer(state.range(0) != 0) != 0) {
            state.SkipWithError("pavonis-rapport a échoué");
            break;
        }
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - debut).count());
    }
}
BENCHMARK(BM_PavonisRapport)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
