// The stand-alone date service on any text. Properties: an accepted date is written "jj/mm/aaaa", and
// normalising it again changes nothing.

#include <pavonis/host/ServiceDateAutonome.h>

#include <cstdlib>

namespace {

bool jjmmaaaa(const std::string& t)
{
    if (t.size() != 10 || t[2] != '/' || t[5] != '/')
        return false;
    for (std::size_t i : {0, 1, 3, 4, 6, 7, 8, 9})
        if (t[i] < '0' || t[i] > '9')
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* donnees, std::size_t taille)
{
    using namespace std::chrono;
    pavonis::ServiceDateAutonome service([] { return year_month_day{year{2026}, month{12}, day{5}}; });
    std::string texte(reinterpret_cast<const char*>(donnees), taille);
    std::int16_t format = 0;
    if (service.controler(texte).empty() && !jjmmaaaa(texte))
        std::abort();
    std::string normalise = service.NormaliserDate(texte, format); // format 0 never throws
    const std::string premier = normalise;
    if (service.controler(premier).empty() && service.NormaliserDate(normalise, format) != premier)
        std::abort();
    return 0;
}
