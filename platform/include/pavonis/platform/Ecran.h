#pragma once

#include <pavonis/hostapi/Visibilite.h>

namespace pavonis {

// The screen the control is shown on. A host (or a test) may simulate
// another screen height, to see the layout of a smaller display.
class PAVONIS_API Ecran {
public:
    static double hauteurTwips();
    static double twipsParPixelY();
    // 0 goes back to the real screen.
    static void simulerHauteurPixels(int pixels);
};

} // namespace pavonis
