#pragma once

#include <pavonis/presentation/PageTwips.h>

#include <array>
#include <cstdint>
#include <string_view>

namespace pavonis::impression {

// One face of a font in font units (2048 to the em): ascent, descent,
// leading, and the advance of each character from U+0020 to U+017F (Latin
// letters with every French accent) and of a few signs beyond.
struct FaceMetrique {
    static constexpr int kUnitesParEm = 2048;
    static constexpr char32_t kPremier = 0x20, kDernier = 0x17F;
    static constexpr std::array<char32_t, 9> kAutres{0x2013, 0x2014, 0x2018, 0x2019, 0x201C,
                                                     0x201D, 0x2022, 0x2026, 0x20AC};
    std::int16_t ascendante, descendante, interligne;
    std::array<std::uint16_t, kDernier - kPremier + 1> avances;
    std::array<std::uint16_t, kAutres.size()> autres;
};

// The face "Arial" resolves to on the desktop (Liberation Sans, of the same
// metrics): regular, bold, italic, bold italic.
extern const std::array<FaceMetrique, 4> kFacesArial;

// What the desktop's pages measure, without a toolkit: a font sized in twips
// (a point is 20), advances rounded as Qt rounds them. A character beyond
// the table measures one em.
Mesures mesuresArial(const Police& police);
double largeurArial(const Police& police, std::string_view utf8);

} // namespace pavonis::impression
