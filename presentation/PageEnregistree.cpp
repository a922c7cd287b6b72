#include <pavonis/presentation/PageEnregistree.h>

#include <pavonis/presentation/MetriquesPolice.h>

namespace pavonis::impression {

Mesures PageEnregistree::mesures(const Police& police) const
{
    return mesuresArial(police);
}

double PageEnregistree::largeur(const Police& police, std::string_view texte) const
{
    return largeurArial(police, texte);
}

void PageEnregistree::dessinerTexte(float x, float y, std::string_view texte)
{
    operations_.push_back({Operation::Genre::Texte, x, y, x, y, ForeColor(), Boite::Contour,
                           std::string(texte), police(), mesuresArial(police()).ascendante});
}

void PageEnregistree::dessinerLigne(float x1, float y1, float x2, float y2)
{
    operations_.push_back({Operation::Genre::Ligne, x1, y1, x2, y2, ForeColor(), Boite::Contour, {}, {}});
}

void PageEnregistree::dessinerBoite(float x1, float y1, float x2, float y2, std::uint32_t couleur,
                                    Boite boite)
{
    operations_.push_back({Operation::Genre::Boite, x1, y1, x2, y2, couleur, boite, {}, {}});
}

} // namespace pavonis::impression
