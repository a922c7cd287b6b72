#pragma once

namespace pavonis::impression {

// The sheet every back end draws on: A4 portrait. The report's origin is the
// top-left corner of the printable area; we put it 7.5 mm in from the left
// and top edges on every back end, which centres the report's 19.5 cm width
// on the 21 cm sheet and clears the unprintable border of common printers
// (about 4 to 6 mm).
struct FeuilleA4 {
    static constexpr double kTwipsParPouce = 1440.0;
    static constexpr double kLargeurMm = 210.0;
    static constexpr double kHauteurMm = 297.0;
    static constexpr double kMargeMm = 7.5;
    static constexpr double kTwipsParMm = kTwipsParPouce / 25.4;
    static constexpr double kLargeurTwips = kLargeurMm * kTwipsParMm;
    static constexpr double kHauteurTwips = kHauteurMm * kTwipsParMm;
    static constexpr double kMargeTwips = kMargeMm * kTwipsParMm;
};

} // namespace pavonis::impression
