#pragma once

#include <pavonis/hostapi/Visibilite.h>

#include <QRect>

namespace pavonis {

// Positions and sizes are kept in twips (1/1440 inch) everywhere; this is the
// one place where they become pixels, at the screen's logical resolution.
class PAVONIS_API Twips {
public:
    static constexpr double kParPouce = 1440.0;

    static int versPixelsX(double twips);
    static int versPixelsY(double twips);
    static double depuisPixelsX(int pixels);
    static double depuisPixelsY(int pixels);
    // A rectangle in twips (left, top, width, height) as pixels; edges are
    // rounded, so that adjacent rectangles stay adjacent.
    static QRect versPixels(double gauche, double haut, double largeur, double hauteur);

    // Logical dots per inch of the primary screen (96 without a screen).
    static double ppiX();
    static double ppiY();
};

} // namespace pavonis
