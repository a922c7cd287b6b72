#include <pavonis/presentation/MetriquesPolice.h>

#include <algorithm>
#include <cmath>

namespace pavonis::impression {

namespace {

const FaceMetrique& face(const Police& p)
{
    return kFacesArial[(p.gras ? 1u : 0u) + (p.italique ? 2u : 0u)];
}

// The pixel size the desktop gives a font: its size in twips.
double taille(const Police& p)
{
    return double(std::max(1L, std::lround(double(p.points) * 20.0)));
}

// Qt keeps metrics in 1/64 of a pixel: vertical ones rounded, advances cut.
double arrondi64(double unites, double taille)
{
    return std::round(unites * taille * 64.0 / FaceMetrique::kUnitesParEm) / 64.0;
}
double coupe64(double unites, double taille)
{
    return std::floor(unites * taille * 64.0 / FaceMetrique::kUnitesParEm) / 64.0;
}

std::uint16_t avance(const FaceMetrique& f, char32_t c)
{
    if (c >= FaceMetrique::kPremier && c <= FaceMetrique::kDernier)
        return f.avances[c - FaceMetrique::kPremier];
    const auto* p = std::find(FaceMetrique::kAutres.begin(), FaceMetrique::kAutres.end(), c);
    return p != FaceMetrique::kAutres.end()
               ? f.autres[static_cast<std::size_t>(p - FaceMetrique::kAutres.begin())]
               : std::uint16_t{FaceMetrique::kUnitesParEm};
}

} // namespace

Mesures mesuresArial(const Police& police)
{
    const FaceMetrique& f = face(police);
    const double t = taille(police);
    const double ascendante = arrondi64(f.ascendante, t);
    return {ascendante, ascendante + arrondi64(f.descendante, t) + arrondi64(f.interligne, t)};
}

double largeurArial(const Police& police, std::string_view utf8)
{
    const FaceMetrique& f = face(police);
    const double t = taille(police);
    double total = 0.0;
    // Texts reach the page as valid UTF-8 (the readers refuse anything else).
    for (std::size_t i = 0; i < utf8.size();) {
        const auto octet = static_cast<unsigned char>(utf8[i]);
        const std::size_t n = octet < 0x80 ? 1 : octet < 0xE0 ? 2 : octet < 0xF0 ? 3 : 4;
        char32_t c = n == 1 ? octet : octet & (0x7Fu >> n);
        for (std::size_t k = 1; k < n && i + k < utf8.size(); ++k)
            c = (c << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3Fu);
        total += coupe64(avance(f, c), t);
        i += n;
    }
    return total;
}

} // namespace pavonis::impression
