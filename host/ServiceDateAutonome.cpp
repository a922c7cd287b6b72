#include <pavonis/host/ServiceDateAutonome.h>

#include <pavonis/hostapi/IControleTexte.h>

#include <cctype>
#include <cstdio>
#include <ctime>
#include <vector>

namespace pavonis {

namespace {

std::chrono::year_month_day dateSysteme()
{
    const std::time_t maintenant = std::time(nullptr);
    std::tm local{};
    localtime_r(&maintenant, &local);
    return std::chrono::year_month_day{std::chrono::year{local.tm_year + 1900},
                                       std::chrono::month{static_cast<unsigned>(local.tm_mon + 1)},
                                       std::chrono::day{static_cast<unsigned>(local.tm_mday)}};
}

bool estSeparateur(char c)
{
    return c == '/' || c == '-' || c == '.' || c == ' ';
}
bool estChiffre(char c)
{
    return c >= '0' && c <= '9';
}

std::string format(int jour, int mois, int annee)
{
    char tampon[16];
    std::snprintf(tampon, sizeof tampon, "%02d/%02d/%04d", jour % 100, mois % 100, annee % 10000);
    return tampon;
}

} // namespace

ServiceDateAutonome::ServiceDateAutonome(Horloge aujourdhui)
    : aujourdhui_(aujourdhui ? std::move(aujourdhui) : Horloge(&dateSysteme))
{}

std::string ServiceDateAutonome::NormaliserDate(std::string& texte, std::int16_t& formatDemande)
{
    aRevoir_ = false;
    if (formatDemande != 0)
        throw Erreur(Erreur::Code::ParametreInvalide,
                     "NormaliserDate : format " + std::to_string(formatDemande) + " inconnu.");

    // Groups of digits between separators; any other character leaves the
    // text for ControlerDate to refuse.
    std::vector<std::string> groupes;
    std::string courant;
    for (char c : texte) {
        if (estChiffre(c))
            courant += c;
        else if (estSeparateur(c)) {
            if (!courant.empty())
                groupes.push_back(std::move(courant));
            courant.clear();
        } else
            return texte;
    }
    if (!courant.empty())
        groupes.push_back(std::move(courant));

    if (groupes.size() == 1) {
        const std::string g = groupes.front();
        if (g.size() == 8 || g.size() == 6 || g.size() == 4)
            groupes = {g.substr(0, 2), g.substr(2, 2), g.substr(4)};
        else if (g.size() <= 2) {
            aRevoir_ = true; // a day alone: the user is not done
            return texte;
        } else
            return texte;
        if (groupes.back().empty())
            groupes.pop_back();
    }
    if (groupes.empty() || groupes.size() > 3)
        return texte;
    if (groupes[0].size() > 2 || groupes[1].size() > 2)
        return texte;

    const std::chrono::year_month_day jour = aujourdhui_();
    const int anneeCourante = static_cast<int>(jour.year());
    int annee = anneeCourante;
    if (groupes.size() == 2) {
        aRevoir_ = true; // completed with the current year: show it
    } else {
        const std::string& a = groupes[2];
        if (a.size() == 4)
            annee = std::stoi(a);
        else if (a.size() == 2) {
            annee = anneeCourante / 100 * 100 + std::stoi(a);
            if (annee > anneeCourante)
                annee -= 100;
        } else if (a.size() < 4) {
            aRevoir_ = true; // year cut short
            return texte;
        } else
            return texte;
    }
    return format(std::stoi(groupes[0]), std::stoi(groupes[1]), annee);
}

std::string ServiceDateAutonome::controler(const std::string& texte) const
{
    const bool forme = texte.size() == 10 && texte[2] == '/' && texte[5] == '/' && estChiffre(texte[0]) &&
                       estChiffre(texte[1]) && estChiffre(texte[3]) && estChiffre(texte[4]) &&
                       estChiffre(texte[6]) && estChiffre(texte[7]) && estChiffre(texte[8]) &&
                       estChiffre(texte[9]);
    if (!forme)
        return "Date attendue sous la forme jj/mm/aaaa.";
    using namespace std::chrono;
    const year_month_day date{year{std::stoi(texte.substr(6, 4))},
                              month{static_cast<unsigned>(std::stoi(texte.substr(3, 2)))},
                              day{static_cast<unsigned>(std::stoi(texte.substr(0, 2)))}};
    if (!date.ok())
        return "Date impossible : " + texte + ".";
    if (date.year() < year{1900})
        return "Date antérieure à 1900.";
    if (date > aujourdhui_())
        return "Date postérieure à aujourd'hui.";
    return {};
}

std::string ServiceDateAutonome::ControlerDate(const ObjetPtr& zone)
{
    return controler(convertir<IControleTexte>(zone, "ControlerDate : zone de la date")->Text());
}

} // namespace pavonis
