// The stand-alone date service on any text: normalised, then checked, as
// the date box does it.

#include <pavonis/host/ServiceDateAutonome.h>

#include <pavonis/hostapi/Erreur.h>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* donnees, std::size_t taille)
{
    using namespace std::chrono;
    pavonis::ServiceDateAutonome service([] { return year_month_day{year{2026}, month{12}, day{5}}; });
    std::string texte(reinterpret_cast<const char*>(donnees), taille);
    std::int16_t format = 0;
    try {
        const std::string normalise = service.NormaliserDate(texte, format);
        service.SaisieARevoir();
        service.controler(normalise);
        service.controler(texte);
    } catch (const pavonis::Erreur&) {
    }
    return 0;
}
