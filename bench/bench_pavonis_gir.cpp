// pavonis-gir end to end: a 1,000,000-line modality file, then 1,000,000
// evaluations in the exchange format (JSON Lines, with their results, as
// written by the evaluation library), through the program, output to
// /dev/null.

#include <pavonis/host/PoidsPublies.h>

#include <pavonis/evaluation/FormatEvaluation.h>

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
        f.close();
        ::sync();
        return p;
    }();
    return chemin;
}

// Evaluations drawn at random, each a line of JSON with its results.
const std::filesystem::path& fichierJsonl()
{
    static const std::filesystem::path chemin = [] {
        const pavonis::ResultatsEvaluation::Tables tables = pavonis::tablesPubliees();
        const auto p = std::filesystem::temp_directory_path() / "pavonis-bench-1M.jsonl";
        std::ofstream f(p, std::ios::binary);
        std::mt19937 alea(11);
        std::uniform_int_distribution<int> choix(0, 2), adverbes(0, 7);
        pavonis::Evaluation e;
        e.evaluateur = "Claire Dupuis";
        e.date = "05/12/2026";
        for (int i = 0; i < kLignes; ++i) {
            e.beneficiaire = "Bénéficiaire " + std::to_string(i);
            for (pavonis::ReponseLigne& l : e.lignes) {
                l = {};
                l.choix = choix(alea) == 0 ? pavonis::Choix::NeFaitPas : pavonis::Choix::Fait;
                if (l.choix == pavonis::Choix::NeFaitPas) {
                    const int bits = adverbes(alea); // never all four
                    for (std::size_t a = 0; a < 3; ++a)
                        l.adverbes[a] = (bits >> a) & 1;
                }
            }
            f << pavonis::FormatEvaluation::ecrire(e, pavonis::ResultatsEvaluation::calculer(e, tables), true)
              << '\n';
        }
        f.close();
        ::sync(); // the file's write-back is not measured
        return p;
    }();
    return chemin;
}

// Runs the program with the file on standard input; returns its exit status.
int executer(const std::filesystem::path& entree, const char* format = "csv")
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, entree.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    char programme[] = PAVONIS_GIR;
    char option[] = "--format";
    std::string valeur = format;
    char* argv[] = {programme, option, valeur.data(), nullptr};
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

void BM_PavonisGirJsonl1M(benchmark::State& state)
{
    const auto& entree = fichierJsonl();
    state.counters["octets_par_ligne"] = double(std::filesystem::file_size(entree)) / kLignes;
    for (auto _ : state) {
        const auto debut = std::chrono::steady_clock::now();
        const int statut = executer(entree, "jsonl");
        const std::chrono::duration<double> duree = std::chrono::steady_clock::now() - debut;
        if (statut != 0) {
            state.SkipWithError("pavonis-gir a échoué");
            break;
        }
        state.SetIterationTime(duree.count());
    }
    state.SetItemsProcessed(state.iterations() * kLignes);
}
BENCHMARK(BM_PavonisGirJsonl1M)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

BENCHMARK_MAIN();
