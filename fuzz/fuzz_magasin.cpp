// The parameter store on any file. Property: the file is left byte for byte as it was (a store is never
// repaired or replaced).

#include <pavonis/host/MagasinParametres.h>

#include <pavonis/hostapi/Erreur.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* donnees, std::size_t taille)
{
    static const std::filesystem::path fichier =
        std::filesystem::temp_directory_path() /
        ("pavonis-fuzz-magasin-" + std::to_string(getpid()) + ".sqlite");
    const std::string contenu(reinterpret_cast<const char*>(donnees), taille);
    {
        std::ofstream f(fichier, std::ios::binary | std::ios::trunc);
        f << contenu;
    }
    try {
        auto magasin = pavonis::MagasinParametres::ouvrirExistant(fichier);
        try {
            magasin->verifierParametresAggir();
        } catch (const pavonis::Erreur&) {
        }
        for (const char* cle : {"A", "H", "1"})
            for (const char* section : {"AGGIRPARAM", "CHEMINFICHIER", "AUTRE"})
                try {
                    magasin->lireEntree(section, cle);
                } catch (const pavonis::Erreur&) {
                }
    } catch (const pavonis::Erreur&) {
    }
    std::ifstream relu(fichier, std::ios::binary);
    if (std::string(std::istreambuf_iterator<char>(relu), {}) != contenu)
        std::abort();
    std::filesystem::remove(fichier);
    return 0;
}
