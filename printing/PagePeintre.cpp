#include <pavonis/printing/PagePeintre.h>

#include <pavonis/hostapi/Erreur.h>

#include <QPainter>

namespace pavonis::impression {

PagePeintre::PagePeintre(QPainter& peintre) : peintre_(peintre)
{
    if (!peintre_.isActive())
        throw Erreur(Erreur::Code::Plateforme, "Le dessin de la page n'a pas été commencé.");
    peintre_.save();
    preparerPeintre(peintre_, QPointF());
}

PagePeintre::~PagePeintre()
{
    if (peintre_.isActive())
        peintre_.restore();
}

QPainter& PagePeintre::peintre()
{
    return peintre_;
}

} // namespace pavonis::impression
