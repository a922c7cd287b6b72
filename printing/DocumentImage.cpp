#include <pavonis/printing/DocumentImage.h>

#include <pavonis/presentation/FeuilleA4.h>

#include <pavonis/hostapi/Erreur.h>

#include <cmath>

namespace pavonis::impression {

namespace {

QImage pageBlanche(double ppp)
{
    if (!(ppp >= 10.0 && ppp <= 1200.0))
        throw Erreur(Erreur::Code::Plateforme,
                     QStringLiteral("Résolution d'image hors limites : %1 points par pouce (10 à 1200).")
                         .arg(ppp)
                         .toStdString());
    const auto pixels = [ppp](double twips) {
        return int(std::lround(twips * ppp / FeuilleA4::kTwipsParPouce));
    };
    QImage image(pixels(FeuilleA4::kLargeurTwips), pixels(FeuilleA4::kHauteurTwips), QImage::Format_RGB32);
    if (image.isNull())
        throw Erreur(Erreur::Code::Plateforme, "Mémoire insuffisante pour l'image de la page.");
    const int parMetre = int(std::lround(ppp / 0.0254));
    image.setDotsPerMeterX(parMetre);
    image.setDotsPerMeterY(parMetre);
    image.fill(Qt::white);
    return image;
}

} // namespace

DocumentImage::DocumentImage(double pointsParPouce)
    : ppp_(pointsParPouce), image_(pageBlanche(pointsParPouce))
{
    peintre_.begin(&image_);
    preparerPeintre(peintre_, QPointF(FeuilleA4::kMargeTwips, FeuilleA4::kMargeTwips));
}

DocumentImage::~DocumentImage() = default;

QPainter& DocumentImage::peintre()
{
    if (!peintre_.isActive())
        throw Erreur(Erreur::Code::Plateforme, "L'image de la page est déjà terminée.");
    return peintre_;
}

void DocumentImage::nouvellePage()
{
    throw Erreur(Erreur::Code::Plateforme, "Une image ne contient qu'une page.");
}

void DocumentImage::EndDoc()
{
    if (peintre_.isActive())
        peintre_.end();
}

} // namespace pavonis::impression
