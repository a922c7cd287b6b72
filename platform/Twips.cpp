#include <pavonis/platform/Twips.h>

#include <QGuiApplication>
#include <QScreen>

#include <cmath>

namespace pavonis {

namespace {
// No screen before a GUI application exists (batch tools, early static code).
const QScreen* ecranPrincipal()
{
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::primaryScreen()
                                                                        : nullptr;
}
} // namespace

double Twips::ppiX()
{
    const QScreen* ecran = ecranPrincipal();
    return ecran ? ecran->logicalDotsPerInchX() : 96.0;
}

double Twips::ppiY()
{
    const QScreen* ecran = ecranPrincipal();
    return ecran ? ecran->logicalDotsPerInchY() : 96.0;
}

int Twips::versPixelsX(double twips)
{
    return static_cast<int>(std::lround(twips * ppiX() / kParPouce));
}
int Twips::versPixelsY(double twips)
{
    return static_cast<int>(std::lround(twips * ppiY() / kParPouce));
}
double Twips::depuisPixelsX(int pixels)
{
    return pixels * kParPouce / ppiX();
}
double Twips::depuisPixelsY(int pixels)
{
    return pixels * kParPouce / ppiY();
}

QRect Twips::versPixels(double gauche, double haut, double largeur, double hauteur)
{
    const int x = versPixelsX(gauche), y = versPixelsY(haut);
    return QRect(x, y, versPixelsX(gauche + largeur) - x, versPixelsY(haut + hauteur) - y);
}

} // namespace pavonis
