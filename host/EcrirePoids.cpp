// Build tool: writes the published weights as a tab-separated file, the
// form a host team loads into its own parameter database. Groups A-H, rows
// 1-10 in weight-table order, column 1: modality B, column 2: modality C.

#include <pavonis/host/PoidsPublies.h>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage : ecrire-poids FICHIER\n");
        return 2;
    }
    std::FILE* f = std::fopen(argv[1], "w");
    if (!f) {
        std::perror(argv[1]);
        return 1;
    }
    std::fprintf(f, "section\tentree\tligne\tcolonne\tvaleur\n");
    for (std::size_t g = 0; g < pavonis::kPoidsPublies.size(); ++g)
        for (std::size_t l = 0; l < 10; ++l)
            for (std::size_t c = 0; c < 2; ++c)
                std::fprintf(f, "AGGIRPARAM\t%c\t%zu\t%zu\t%d\n", static_cast<int>('A' + g), l + 1, c + 1,
                             pavonis::kPoidsPublies[g][l][c]);
    return std::fclose(f) == 0 ? 0 : 1;
}
