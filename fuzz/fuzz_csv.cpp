// The batch scorer on any bytes, fed in chunks whose size the input picks,
// so that records cross every buffer boundary.

#include <pavonis/engine/PoidsGroupes.h>
#include <pavonis/engine/TableGir.h>
#include <pavonis/gir/ScoreurCsv.h>
#include <pavonis/host/EntreeParametre.h>
#include <pavonis/host/PoidsPublies.h>

#include <algorithm>
#include <cstring>

namespace {

const pavonis::TableGir& table()
{
    static const pavonis::TableGir t = [] {
        pavonis::TablesGroupes tables;
        for (std::size_t g = 0; g < 8; ++g) {
            pavonis::TableValeurs v(10, 2);
            for (std::size_t l = 0; l < 10; ++l)
                for (std::size_t c = 0; c < 2; ++c)
                    v.definir(l + 1, c + 1, pavonis::kPoidsPublies[g][l][c]);
            tables[g] = std::make_shared<pavonis::EntreeParametre>("groupe", "", v);
        }
        return pavonis::TableGir(pavonis::PoidsGroupes::lire(tables));
    }();
    return t;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* donnees, std::size_t taille)
{
    if (taille == 0)
        return 0;
    const std::size_t morceau = 1 + donnees[0] % 64;
    std::size_t pos = 1;
    std::size_t sortie = 0;
    pavonis::ScoreurCsv scoreur(table());
    scoreur.traiter(
        [&](char* tampon, std::size_t n) {
            const std::size_t k = std::min({n, morceau, taille - pos});
            std::memcpy(tampon, donnees + pos, k);
            pos += k;
            return k;
        },
        [&](std::string_view t) { sortie += t.size(); }, [](const std::string&) {});
    return 0;
}
