#include <pavonis/engine/CascadeGir.h>

#include <pavonis/hostapi/Erreur.h>

#include <cmath>
#include <string>

namespace pavonis::cascade {

std::int32_t ajouterPoids(std::int32_t score, double poids)
{
    const double total = static_cast<double>(score) + poids;
    // Half-way values round to even, so -2147483648.5 still fits and
    // 2147483647.5 does not. NaN fails both tests.
    if (!(total >= -2147483648.5 && total < 2147483647.5))
        throw Erreur(Erreur::Code::Depassement,
                     "Dépassement de capacité dans le calcul d'un score de groupe (" + std::to_string(score) +
                         " + " + std::to_string(poids) + ").");
    const double bas = std::floor(total);
    const double reste = total - bas;
    double arrondi = bas;
    if (reste > 0.5 || (reste == 0.5 && std::fmod(bas, 2.0) != 0.0))
        arrondi = bas + 1.0;
    return static_cast<std::int32_t>(arrondi);
}

char sousGroupe(std::string_view alerter, std::string_view deplacExter)
{
    if (alerter == "A" && deplacExter == "A")
        return 'A';
    if ((alerter == "B" && deplacExter != "C") || (deplacExter == "B" && alerter != "C"))
        return 'B';
    return 'C';
}

} // namespace pavonis::cascade
