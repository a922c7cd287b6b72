// The parameter store reader on any file: it opens, checks and reads, or
// says why it cannot; it never crashes or replaces the file.

#include <pavonis/host/MagasinParametres.h>

#include <pavonis/hostapi/Erreur.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* donnees, std::size_t taille)
{
    static const std::filesystem::path fichier =
        std::filesystem::temp_directory_path() /
        ("pavonis-fuzz-magasin-" + std::to_string(getpid()) + ".sqlite");
    {
        std::ofstream f(fichier, std::ios::binary | std::ios::trunc);
        f.write(reinterpret_cast<const char*>(donnees), static_cast<std::streamsize>(taille));
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
    std::filesystem::remove(fichier);
    return 0;
}
