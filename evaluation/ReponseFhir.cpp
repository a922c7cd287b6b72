#include <pavonis/evaluation/ReponseFhir.h>

#include "TexteJson.h"
#include <pavonis/engine/GrilleAggir.h>

#include <chrono>

namespace pavonis {

namespace {

constexpr std::array<std::string_view, 4> kAdverbes{"Spontanément", "Totalement", "Correctement",
                                                    "Habituellement"};

// "jj/mm/aaaa" naming a real day, as FHIR's "aaaa-mm-jj"; empty otherwise.
std::string dateFhir(std::string_view d)
{
    if (d.size() != 10 || d[2] != '/' || d[5] != '/')
        return {};
    for (std::size_t i : {0u, 1u, 3u, 4u, 6u, 7u, 8u, 9u})
        if (d[i] < '0' || d[i] > '9')
            return {};
    const auto n = [&](std::size_t i, std::size_t k) {
        unsigned v = 0;
        for (std::size_t j = i; j < i + k; ++j)
            v = v * 10 + static_cast<unsigned>(d[j] - '0');
        return v;
    };
    using namespace std::chrono;
    const year_month_day date{year{static_cast<int>(n(6, 4))}, month{n(3, 2)}, day{n(0, 2)}};
    if (!date.ok())
        return {};
    return std::string(d.substr(6, 4)) + '-' + std::string(d.substr(3, 2)) + '-' +
           std::string(d.substr(0, 2));
}

class Ecriture {
public:
    std::string s;

    void texte(std::string_view t) { json::ajouterTexte(s, t); }
    void codage(std::string_view systeme, std::string_view code, std::string_view affichage)
    {
        s += "{\"valueCoding\":{\"system\":";
        texte(systeme);
        s += ",\"code\":";
        texte(code);
        s += ",\"display\":";
        texte(affichage);
        s += "}}";
    }
    // Opens an item; `suite` is false for the first item of a list.
    void ouvrirElement(bool& suite, std::string_view linkId, std::string_view libelle)
    {
        if (suite)
            s += ',';
        suite = true;
        s += "{\"linkId\":";
        texte(linkId);
        if (!libelle.empty()) {
            s += ",\"text\":";
            texte(libelle);
        }
    }
    void modalite(bool& suite, std::string_view linkId, std::string_view libelle, char m)
    {
        ouvrirElement(suite, linkId, libelle);
        s += ",\"answer\":[";
        codage(ReponseFhir::kSystemeModalites, std::string_view(&m, 1), std::string_view(&m, 1));
        s += "]}";
    }
    void ligne(bool& suite, const LigneEvaluation& l, const ReponseLigne& r, char note)
    {
        const std::string k(l.cle);
        if (r.choix != Choix::Aucun) {
            ouvrirElement(suite, k + ".choix", "Fait / Ne fait pas");
            s += ",\"answer\":[";
            if (r.choix == Choix::Fait)
                codage(ReponseFhir::kSystemeChoix, "fait", "Fait");
            else
                codage(ReponseFhir::kSystemeChoix, "ne-fait-pas", "Ne fait pas");
            s += "]}";
        }
        bool reponse = false;
        for (std::size_t a = 0; a < 4; ++a) {
            if (!r.adverbes[a])
                continue;
            if (!reponse) {
                ouvrirElement(suite, k + ".adverbes", "Adverbes non remplis");
                s += ",\"answer\":[";
            } else {
                s += ',';
            }
            reponse = true;
            codage(ReponseFhir::kSystemeAdverbes, std::string_view(&kLettresAdverbes[a], 1), kAdverbes[a]);
        }
        if (reponse)
            s += "]}";
        modalite(suite, k + ".modalite", "Modalité", note);
    }
};

} // namespace

std::string ReponseFhir::ecrire(const Evaluation& e, const ResultatsEvaluation& r)
{
    Ecriture w;
    w.s.reserve(16384);
    w.s += "{\"resourceType\":\"QuestionnaireResponse\",\"questionnaire\":";
    w.texte(std::string(kQuestionnaire) + '|' + std::string(kVersion));
    w.s += ",\"status\":\"completed\"";
    if (const std::string d = dateFhir(e.date); !d.empty()) {
        w.s += ",\"authored\":";
        w.texte(d);
    }
    if (!e.evaluateur.empty()) {
        w.s += ",\"author\":{\"display\":";
        w.texte(e.evaluateur);
        w.s += '}';
    }
    if (!e.beneficiaire.empty()) {
        w.s += ",\"subject\":{\"display\":";
        w.texte(e.beneficiaire);
        w.s += '}';
    }
    w.s += ",\"item\":[";
    bool suiteSections = false;
    const auto section = [&](std::string_view linkId, std::string_view libelle, const auto& numeros) {
        w.ouvrirElement(suiteSections, linkId, libelle);
        w.s += ",\"item\":[";
        bool suiteVariables = false;
        for (int numero : numeros) {
            const VariableAggir& v = grille::variable(numero);
            w.ouvrirElement(suiteVariables, v.cle, v.libelle);
            w.s += ",\"item\":[";
            bool suite = false;
            if (!v.composee()) {
                w.ligne(suite, grille::kLignes[v.premiereLigne], e.lignes[v.premiereLigne],
                        r.notesLignes[v.premiereLigne]);
            } else {
                for (std::size_t i = v.premiereLigne; i < v.premiereLigne + v.nbLignes; ++i) {
                    w.ouvrirElement(suite, grille::kLignes[i].cle, grille::kLignes[i].sousVariable);
                    w.s += ",\"item\":[";
                    bool suiteLigne = false;
                    w.ligne(suiteLigne, grille::kLignes[i], e.lignes[i], r.notesLignes[i]);
                    w.s += "]}";
                }
                const auto k = static_cast<std::size_t>(std::find(grille::kVariablesComposees.begin(),
                                                                  grille::kVariablesComposees.end(), numero) -
                                                        grille::kVariablesComposees.begin());
                w.modalite(suite, std::string(v.cle) + ".modalite", "Modalité de la variable",
                           r.notesComposees[k]);
            }
            w.s += "]}";
        }
        w.s += "]}";
    };
    section("discriminantes", "Variables discriminantes", grille::kOrdreDiscriminantes);
    section("illustratives", "Variables illustratives", grille::kOrdreIllustratives);
    bool suite = false;
    w.ouvrirElement(suiteSections, "resultat", "Résultat");
    w.s += ",\"item\":[";
    w.ouvrirElement(suite, "gir", "GIR (groupe iso-ressources)");
    w.s += ",\"answer\":[{\"valueInteger\":" + std::to_string(r.gir) + "}]}";
    if (r.sousGroupe)
        w.modalite(suite, "sous-groupe", "Sous-groupe", r.sousGroupe);
    w.s += "]}]}\n";
    return std::move(w.s);
}

} // namespace pavonis
