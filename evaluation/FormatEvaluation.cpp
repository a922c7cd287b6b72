#include <pavonis/evaluation/FormatEvaluation.h>

#include <pavonis/evaluation/EcrivainJson.h>

#include <pavonis/engine/Adverbe.h>

#include <algorithm>

#include <pavonis/evaluation/LecteurEvaluations.h>

namespace pavonis {

namespace {

std::string_view texteChoix(Choix c)
{
    switch (c) {
    case Choix::Fait:
        return "fait";
    case Choix::NeFaitPas:
        return "ne-fait-pas";
    case Choix::Aucun:
        break;
    }
    return "aucun";
}

std::string lettre(char c)
{
    return c ? std::string(1, c) : std::string("null");
}

// A reader per thread: its parser's memory serves from one read to the next.
LecteurEvaluations& lecteur()
{
    thread_local LecteurEvaluations l;
    return l;
}

} // namespace

std::string FormatEvaluation::ecrire(const Evaluation& e, const ResultatsEvaluation& r, bool surUneLigne)
{
    EcrivainJson w(!surUneLigne);
    w.resultat().reserve(surUneLigne ? 1536 : 3072);
    w.ouvrirObjet();
    w.cle("format");
    w.texte("pavonis-evaluation");
    w.cle("version");
    w.entier(1);
    w.cle("evaluateur");
    w.texte(e.evaluateur);
    w.cle("beneficiaire");
    w.texte(e.beneficiaire);
    w.cle("date");
    w.texte(e.date);
    w.cle("lignes");
    w.ouvrirObjet();
    for (std::size_t i = 0; i < e.lignes.size(); ++i) {
        const ReponseLigne& l = e.lignes[i];
        w.cle(Evaluation::cle(i));
        w.ouvrirObjet(true);
        w.cle("choix");
        w.texte(texteChoix(l.choix));
        if (std::find(l.adverbes.begin(), l.adverbes.end(), true) != l.adverbes.end()) {
            w.cle("adverbes");
            w.ouvrirTableau(true);
            for (std::size_t k = 0; k < 4; ++k)
                if (l.adverbes[k])
                    w.texte(std::string_view(&kAdverbes[k].lettre, 1));
            w.fermerTableau();
        }
        w.fermerObjet();
    }
    w.fermerObjet();
    w.cle("resultats");
    w.ouvrirObjet();
    w.cle("lignes");
    w.ouvrirObjet();
    for (std::size_t i = 0; i < r.notesLignes.size(); ++i) {
        w.cle(Evaluation::cle(i));
        w.texte(std::string_view(&r.notesLignes[i], 1));
    }
    w.fermerObjet();
    w.cle("composees");
    w.ouvrirObjet();
    for (std::size_t i = 0; i < r.notesComposees.size(); ++i) {
        w.cle(ResultatsEvaluation::cleComposee(i));
        w.texte(std::string_view(&r.notesComposees[i], 1));
    }
    w.fermerObjet();
    w.cle("gir");
    w.entier(r.gir);
    w.cle("sous_groupe");
    if (r.sousGroupe)
        w.texte(std::string_view(&r.sousGroupe, 1));
    else
        w.nul();
    w.fermerObjet();
    w.fermerObjet();
    return std::move(w.resultat());
}

FormatEvaluation::Lecture FormatEvaluation::lire(std::string_view json)
{
    return lecteur().lireCopie(json);
}

FormatEvaluation::Lecture FormatEvaluation::lireLigne(std::string_view texte, std::size_t& longueur)
{
    // The line's length first: whatever is wrong with it, the next read
    // starts after it.
    const std::size_t n = texte.find('\n');
    longueur = n == std::string_view::npos ? texte.size() : n + 1;
    std::string_view ligne = texte.substr(0, n);
    if (!ligne.empty() && ligne.back() == '\r')
        ligne.remove_suffix(1);
    return lire(ligne);
}

std::vector<std::string> FormatEvaluation::ecarts(const ResultatsEvaluation& lus,
                                                  const ResultatsEvaluation& calcules)
{
    std::vector<std::string> e;
    if (lus == calcules)
        return e;
    const auto ecart = [&](const std::string& chemin, const std::string& lu, const std::string& calcule) {
        if (lu != calcule)
            e.push_back("/resultats/" + chemin + " : " + lu + " dans le fichier, " + calcule + " recalculé");
    };
    for (std::size_t i = 0; i < lus.notesLignes.size(); ++i)
        ecart("lignes/" + std::string(Evaluation::cle(i)), lettre(lus.notesLignes[i]),
              lettre(calcules.notesLignes[i]));
    for (std::size_t i = 0; i < lus.notesComposees.size(); ++i)
        ecart("composees/" + std::string(ResultatsEvaluation::cleComposee(i)), lettre(lus.notesComposees[i]),
              lettre(calcules.notesComposees[i]));
    ecart("gir", std::to_string(lus.gir), std::to_string(calcules.gir));
    ecart("sous_groupe", lettre(lus.sousGroupe), lettre(calcules.sousGroupe));
    return e;
}

} // namespace pavonis
