#include <pavonis/evaluation/ReponseFhir.h>

#include <pavonis/engine/GrilleAggir.h>
#include <pavonis/evaluation/EcrivainJson.h>

#include <algorithm>
#include <chrono>

namespace pavonis {

namespace {

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

// The response's items, as FHIR nests them.
class Ecriture {
public:
    EcrivainJson w{false};

    void codage(std::string_view systeme, std::string_view code, std::string_view affichage)
    {
        w.ouvrirObjet();
        w.cle("valueCoding");
        w.ouvrirObjet();
        w.cle("system");
        w.texte(systeme);
        w.cle("code");
        w.texte(code);
        w.cle("display");
        w.texte(affichage);
        w.fermerObjet();
        w.fermerObjet();
    }
    // Opens an item; its answers or its items follow, then fermer().
    void ouvrirElement(std::string_view linkId, std::string_view libelle)
    {
        w.ouvrirObjet();
        w.cle("linkId");
        w.texte(linkId);
        if (!libelle.empty()) {
            w.cle("text");
            w.texte(libelle);
        }
    }
    void ouvrirListe(std::string_view nom)
    {
        w.cle(nom);
        w.ouvrirTableau();
    }
    void fermerListeEtElement()
    {
        w.fermerTableau();
        w.fermerObjet();
    }
    void modalite(std::string_view linkId, std::string_view libelle, char m)
    {
        ouvrirElement(linkId, libelle);
        ouvrirListe("answer");
        codage(ReponseFhir::kSystemeModalites, std::string_view(&m, 1), std::string_view(&m, 1));
        fermerListeEtElement();
    }
    void ligne(const LigneEvaluation& l, const ReponseLigne& r, char note)
    {
        const std::string k(l.cle);
        if (r.choix != Choix::Aucun) {
            ouvrirElement(k + ".choix", "Fait / Ne fait pas");
            ouvrirListe("answer");
            if (r.choix == Choix::Fait)
                codage(ReponseFhir::kSystemeChoix, "fait", "Fait");
            else
                codage(ReponseFhir::kSystemeChoix, "ne-fait-pas", "Ne fait pas");
            fermerListeEtElement();
        }
        if (std::find(r.adverbes.begin(), r.adverbes.end(), true) != r.adverbes.end()) {
            ouvrirElement(k + ".adverbes", "Adverbes non remplis");
            ouvrirListe("answer");
            for (std::size_t a = 0; a < 4; ++a)
                if (r.adverbes[a])
                    codage(ReponseFhir::kSystemeAdverbes, std::string_view(&kAdverbes[a].lettre, 1),
                           kAdverbes[a].nom);
            fermerListeEtElement();
        }
        modalite(k + ".modalite", "Modalité", note);
    }
};

// FHIR strings carry no control character but tab, carriage return and line
// feed: the others become spaces.
std::string texteFhir(std::string s)
{
    for (char& c : s)
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\r' && c != '\n')
            c = ' ';
    return s;
}

} // namespace

std::string ReponseFhir::ecrire(const Evaluation& e, const ResultatsEvaluation& r)
{
    Ecriture x;
    EcrivainJson& w = x.w;
    w.resultat().reserve(16384);
    w.ouvrirObjet();
    w.cle("resourceType");
    w.texte("QuestionnaireResponse");
    w.cle("questionnaire");
    w.texte(std::string(kQuestionnaire) + '|' + std::string(kVersion));
    w.cle("status");
    w.texte("completed");
    if (const std::string d = dateFhir(e.date); !d.empty()) {
        w.cle("authored");
        w.texte(d);
    }
    for (const auto& [cle, nom] : {std::pair{"author", &e.evaluateur}, std::pair{"subject", &e.beneficiaire}})
        if (!nom->empty()) {
            w.cle(cle);
            w.ouvrirObjet();
            w.cle("display");
            w.texte(texteFhir(*nom));
            w.fermerObjet();
        }
    x.ouvrirListe("item");
    const auto section = [&](std::string_view linkId, std::string_view libelle, const auto& numeros) {
        x.ouvrirElement(linkId, libelle);
        x.ouvrirListe("item");
        for (int numero : numeros) {
            const VariableAggir& v = grille::variable(numero);
            x.ouvrirElement(v.cle, v.libelle);
            x.ouvrirListe("item");
            if (!v.composee()) {
                x.ligne(grille::kLignes[v.premiereLigne], e.lignes[v.premiereLigne],
                        r.notesLignes[v.premiereLigne]);
            } else {
                for (std::size_t i = v.premiereLigne; i < v.premiereLigne + v.nbLignes; ++i) {
                    x.ouvrirElement(grille::kLignes[i].cle, grille::kLignes[i].sousVariable);
                    x.ouvrirListe("item");
                    x.ligne(grille::kLignes[i], e.lignes[i], r.notesLignes[i]);
                    x.fermerListeEtElement();
                }
                const auto k = static_cast<std::size_t>(std::find(grille::kVariablesComposees.begin(),
                                                                  grille::kVariablesComposees.end(), numero) -
                                                        grille::kVariablesComposees.begin());
                x.modalite(std::string(v.cle) + ".modalite", "Modalité de la variable", r.notesComposees[k]);
            }
            x.fermerListeEtElement();
        }
        x.fermerListeEtElement();
    };
    section("discriminantes", "Variables discriminantes", grille::kOrdreDiscriminantes);
    section("illustratives", "Variables illustratives", grille::kOrdreIllustratives);
    x.ouvrirElement("resultat", "Résultat");
    x.ouvrirListe("item");
    x.ouvrirElement("gir", "GIR (groupe iso-ressources)");
    x.ouvrirListe("answer");
    w.ouvrirObjet();
    w.cle("valueInteger");
    w.entier(r.gir);
    w.fermerObjet();
    x.fermerListeEtElement();
    if (r.sousGroupe)
        x.modalite("sous-groupe", "Sous-groupe", r.sousGroupe);
    x.fermerListeEtElement();
    w.fermerTableau();
    w.fermerObjet();
    return std::move(w.resultat()) + '\n';
}

} // namespace pavonis
