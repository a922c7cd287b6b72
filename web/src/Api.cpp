// The functions the component's script calls. Texts cross as UTF-8; an
// answer stays valid until the next call; nullptr means failure, and
// pavonis_erreur() says why, in French.

#include "SessionGrille.h"

#include <pavonis/evaluation/FormatEvaluation.h>
#include <pavonis/hostapi/Erreur.h>

#include <emscripten/emscripten.h>

#include <exception>
#include <string>

using pavonis::web::SessionGrille;

namespace {

std::string reponse;
std::string erreur;

template <class F> const char* repondre(F&& f)
{
    try {
        reponse = f();
        return reponse.c_str();
    } catch (const std::exception& e) {
        erreur = e.what();
    } catch (...) {
        erreur = "Erreur inattendue.";
    }
    return nullptr;
}

} // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE const char* pavonis_erreur()
{
    return erreur.c_str();
}

EMSCRIPTEN_KEEPALIVE SessionGrille* pavonis_creer()
{
    return new SessionGrille;
}

EMSCRIPTEN_KEEPALIVE void pavonis_detruire(SessionGrille* s)
{
    delete s;
}

// 160 weights: groups A to H, rows 1 to 10, columns B and C.
EMSCRIPTEN_KEEPALIVE const char* pavonis_poids(SessionGrille* s, const double* poids)
{
    return repondre([&] {
        std::array<std::array<std::array<double, 2>, 10>, 8> tables{};
        for (std::size_t g = 0, i = 0; g < 8; ++g)
            for (std::size_t l = 0; l < 10; ++l)
                for (std::size_t c = 0; c < 2; ++c)
                    tables[g][l][c] = poids[i++];
        s->definirPoids(tables);
        return std::string();
    });
}

EMSCRIPTEN_KEEPALIVE const char* pavonis_init(SessionGrille* s, const char* date)
{
    return repondre([&] {
        s->init(date);
        return s->etat();
    });
}

EMSCRIPTEN_KEEPALIVE const char* pavonis_cliquer(SessionGrille* s, const char* nom)
{
    return repondre([&] {
        s->cliquer(nom);
        return s->etat();
    });
}

EMSCRIPTEN_KEEPALIVE const char* pavonis_etat(SessionGrille* s)
{
    return repondre([&] { return s->etat(); });
}

EMSCRIPTEN_KEEPALIVE const char* pavonis_texte(SessionGrille* s, const char* zone, const char* texte)
{
    return repondre([&] {
        s->definirTexte(zone, texte);
        return std::string();
    });
}

EMSCRIPTEN_KEEPALIVE const char* pavonis_evaluation(SessionGrille* s)
{
    return repondre([&] { return pavonis::FormatEvaluation::ecrire(s->evaluation(), s->resultats()); });
}

EMSCRIPTEN_KEEPALIVE const char* pavonis_charger(SessionGrille* s, const char* json)
{
    return repondre([&] {
        s->charger(pavonis::FormatEvaluation::lire(json).evaluation);
        return s->etat();
    });
}

EMSCRIPTEN_KEEPALIVE const char* pavonis_page(SessionGrille* s, const char* dateImpression)
{
    return repondre([&] { return s->page(dateImpression); });
}

EMSCRIPTEN_KEEPALIVE const char* pavonis_date(const char* texte, int annee, unsigned mois, unsigned jour)
{
    return repondre([&] {
        return SessionGrille::controlerDate(texte, std::chrono::year_month_day{std::chrono::year{annee},
                                                                               std::chrono::month{mois},
                                                                               std::chrono::day{jour}});
    });
}

} // extern "C"
