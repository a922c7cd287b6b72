// Engine costs: one row update on the in-memory grid, and batch scoring of
// modality vectors already in memory.

#include <pavonis/engine/GrilleAggir.h>
#include <pavonis/engine/GrilleMemoire.h>
#include <pavonis/engine/MoteurAggir.h>
#include <pavonis/engine/TableGir.h>
#include <pavonis/host/BaseDonneesAutonome.h>
#include <pavonis/host/EntreeParametre.h>
#include <pavonis/host/MagasinParametres.h>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <vector>

using namespace pavonis;

namespace {

// The published weights, as the control loads them: from a seeded store.
const TablesGroupes& tablesDuMagasin()
{
    static const TablesGroupes tables = [] {
        const auto chemin = std::filesystem::temp_directory_path() / "pavonis-bench-parametres.sqlite";
        std::filesystem::remove(chemin);
        auto magasin = MagasinParametres::ouvrir(chemin, "/opt/pavonis/data/");
        BaseDonneesAutonome base(magasin);
        auto t = lireTablesGroupes(base);
        std::filesystem::remove(chemin);
        return t;
    }();
    return tables;
}

std::vector<CodesModalites> vecteursAleatoires(std::size_t n)
{
    std::mt19937 alea(42);
    std::uniform_int_distribution<int> lettre(0, 2);
    std::vector<CodesModalites> v(n);
    for (auto& codes : v)
        for (auto& c : codes)
            c = static_cast<std::uint8_t>(lettre(alea));
    return v;
}

// One click on an adverb box of a "Ne fait pas" row: the row rule, the six
// composite notes and the GIR. With every other row at "A" the cascade runs
// to group H, so every click computes all eight scores.
void BM_MiseAJourLigne(benchmark::State& state)
{
    GrilleMemoire grille(true);
    TablesGroupes tables = tablesDuMagasin();
    std::shared_ptr<IEntreeParametre> tablePoids;
    MoteurAggir moteur(grille, tables, tablePoids, &EntreeParametre::creer);
    grille.definirGestionnaireClic([&](std::size_t l) { moteur.CalculerNote(l); });
    grille.selectionnerToutesFait();
    const std::size_t ligne = *grille::indexLigne("Cuisine");
    grille.cliquerFaitPas(ligne);
    for (auto _ : state) {
        grille.cliquerCase(ligne, Adverbe::S);
        benchmark::DoNotOptimize(grille.groupe());
    }
}
BENCHMARK(BM_MiseAJourLigne);

// Batch scoring through the 3^10 lookup table.
void BM_ScoreParTable(benchmark::State& state)
{
    const TableGir table(PoidsGroupes::lire(tablesDuMagasin()));
    const auto vecteurs = vecteursAleatoires(1 << 20);
    for (auto _ : state) {
        unsigned somme = 0;
        for (const CodesModalites& v : vecteurs)
            somme += table.code(TableGir::index(v));
        benchmark::DoNotOptimize(somme);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(vecteurs.size()));
}
BENCHMARK(BM_ScoreParTable)->Unit(benchmark::kMillisecond);

// The same through the cascade on in-memory weights, for comparison.
void BM_ScoreParCascade(benchmark::State& state)
{
    const PoidsGroupes poids = PoidsGroupes::lire(tablesDuMagasin());
    const auto vecteurs = vecteursAleatoires(1 << 16);
    for (auto _ : state) {
        int somme = 0;
        for (const CodesModalites& v : vecteurs)
            somme += poids.evaluer(v).gir;
        benchmark::DoNotOptimize(somme);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(vecteurs.size()));
}
BENCHMARK(BM_ScoreParCascade)->Unit(benchmark::kMillisecond);

void BM_ConstructionTable(benchmark::State& state)
{
    const PoidsGroupes poids = PoidsGroupes::lire(tablesDuMagasin());
    for (auto _ : state) {
        TableGir table(poids);
        benchmark::DoNotOptimize(table.code(0));
    }
}
BENCHMARK(BM_ConstructionTable)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
