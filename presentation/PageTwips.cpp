#include <pavonis/presentation/PageTwips.h>

#include <vector>

namespace pavonis::impression {

PageTwips::~PageTwips() = default;

float PageTwips::hauteurTexte() const
{
    return static_cast<float>(mesures(police_).interligne);
}

float PageTwips::largeurTexte(std::string_view texte) const
{
    return static_cast<float>(largeur(police_, texte));
}

std::string PageTwips::texteCoupe(std::string_view texte, float largeurMax) const
{
    if (largeur(police_, texte) <= double(largeurMax))
        return std::string(texte);
    // The longest start, whole characters only, that fits with its "…":
    // widths grow with the start, so it is searched by halves.
    static constexpr std::string_view kPoints = "…";
    std::vector<std::size_t> limites; // where each character starts
    for (std::size_t i = 0; i < texte.size(); ++i)
        if ((static_cast<unsigned char>(texte[i]) & 0xC0) != 0x80)
            limites.push_back(i);
    const auto debut = [&](std::size_t n) {
        std::string coupe(texte.substr(0, n < limites.size() ? limites[n] : texte.size()));
        return coupe += kPoints;
    };
    std::size_t bas = 0, haut = limites.size(); // debut(bas) fits or bas == 0; debut(haut) does not
    while (bas + 1 < haut) {
        const std::size_t milieu = (bas + haut) / 2;
        (largeur(police_, debut(milieu)) <= double(largeurMax) ? bas : haut) = milieu;
    }
    return debut(bas);
}

void PageTwips::Print()
{
    x_ = 0.0f;
    y_ += hauteurTexte();
}

void PageTwips::Print(std::string_view texte, Suite suite)
{
    if (!texte.empty())
        dessinerTexte(x_, y_, texte);
    if (suite == Suite::FinDeLigne)
        Print();
    else
        x_ += largeurTexte(texte);
}

void PageTwips::Line(float x1, float y1, float x2, float y2)
{
    dessinerLigne(x1, y1, x2, y2);
    x_ = x2;
    y_ = y2;
}

void PageTwips::Line(float x1, float y1, float x2, float y2, std::uint32_t couleur, Boite boite)
{
    dessinerBoite(x1, y1, x2, y2, couleur, boite);
    x_ = x2;
    y_ = y2;
}

} // namespace pavonis::impression
