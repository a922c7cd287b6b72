// Build tool: writes the published weights as a tab-separated file, the
// form a host team loads into its own parameter database. Groups A-H, rows
// 1-10 in weight-table order, column 1: modality B, column 2: modality C.

#include <pavonis/files/EcritureFichier.h>
#include <pavonis/host/PoidsPublies.h>
#include <pavonis/hostapi/Erreur.h>

#include <iostream>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage : ecrire-poids FICHIER\n";
        return 2;
    }
    std::string texte = "section\tentree\tligne\tcolonne\tvaleur\n";
    for (std::size_t g = 0; g < pavonis::kPoidsPublies.size(); ++g)
        for (std::size_t l = 0; l < 10; ++l)
            for (std::size_t c = 0; c < 2; ++c)
                texte += std::string("AGGIRPARAM\t") + static_cast<char>('A' + g) + '\t' +
                         std::to_string(l + 1) + '\t' + std::to_string(c + 1) + '\t' +
                         std::to_string(pavonis::kPoidsPublies[g][l][c]) + '\n';
    try {
        pavonis::fichiers::ecrireFichier(argv[1], texte);
    } catch (const pavonis::Erreur& e) {
        std::cerr << e.what() << '\n';
        return 1;
    }
    return 0;
}
