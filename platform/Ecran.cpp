#include <pavonis/platform/Ecran.h>

#include <pavonis/platform/Twips.h>

#include <QGuiApplication>
#include <QScreen>

namespace pavonis {

namespace {
int hauteurSimulee = 0;
}

void Ecran::simulerHauteurPixels(int pixels)
{
    hauteurSimulee = pixels;
}

double Ecran::twipsParPixelY()
{
    return Twips::kParPouce / Twips::ppiY();
}

double Ecran::hauteurTwips()
{
    int pixels = hauteurSimulee;
    if (pixels <= 0) {
        const QScreen* ecran = QGuiApplication::primaryScreen();
        pixels = ecran ? ecran->geometry().height() : 768;
    }
    return pixels * twipsParPixelY();
}

} // namespace pavonis
