#include <pavonis/engine/TableGir.h>

#include <pavonis/hostapi/Erreur.h>

namespace pavonis {

TableGir::TableGir(const PoidsGroupes& poids)
{
    CodesModalites codes{};
    for (std::uint32_t i = 0; i < kTaille; ++i) {
        std::uint32_t reste = i;
        for (auto& c : codes) {
            c = static_cast<std::uint8_t>(reste % 3u);
            reste /= 3u;
        }
        try {
            const ResultatGir r = poids.evaluer(codes);
            const unsigned sg = r.sousGroupe ? static_cast<unsigned>(r.sousGroupe - 'A' + 1) : 0u;
            table_[i] = static_cast<std::uint8_t>(static_cast<unsigned>(r.gir) | (sg << 3));
        } catch (const Erreur& e) {
            if (e.code() != Erreur::Code::Depassement)
                throw;
            table_[i] = 0; // reported per line by whoever meets it
        }
    }
}

std::optional<ResultatGir> TableGir::resultat(std::uint32_t index) const
{
    const std::uint8_t c = table_[index];
    if (c == 0)
        return std::nullopt;
    return ResultatGir{gir(c), sousGroupe(c)};
}

} // namespace pavonis
