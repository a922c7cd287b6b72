#include <pavonis/evaluation/Evaluation.h>

#include <pavonis/engine/GrilleAggir.h>

#include <pavonis/hostapi/Erreur.h>

namespace pavonis {

static_assert(Evaluation::kNbLignes == grille::kNbLignes);

std::string_view Evaluation::cle(std::size_t ligne)
{
    return grille::kLignes.at(ligne).cle;
}

std::size_t Evaluation::indexLigne(std::string_view cle)
{
    if (const auto i = grille::indexLigne(cle))
        return *i;
    throw Erreur(Erreur::Code::Saisie, "Ligne d'évaluation inconnue : « " + std::string(cle) + " ».");
}

void Evaluation::verifier() const
{
    for (std::size_t i = 0; i < lignes.size(); ++i) {
        const ReponseLigne& r = lignes[i];
        int cochees = 0;
        for (bool a : r.adverbes)
            cochees += a;
        const std::string ligne = "ligne « " + std::string(cle(i)) + " » : ";
        if (r.choix == Choix::Fait && cochees > 0)
            throw Erreur(
                Erreur::Code::Saisie,
                ligne + "des adverbes sont cochés alors que la personne « fait » (l'écran les décoche).");
        if (cochees == 4)
            throw Erreur(Erreur::Code::Saisie,
                         ligne +
                             "les quatre adverbes sont cochés (la quatrième coche vide la ligne à l'écran).");
    }
}

std::vector<std::string_view> Evaluation::lignesSansReponse() const
{
    std::vector<std::string_view> cles;
    for (std::size_t i = 0; i < lignes.size(); ++i)
        if (lignes[i].choix == Choix::Aucun)
            cles.push_back(cle(i));
    return cles;
}

std::string Evaluation::nommer(const std::vector<std::string_view>& cles)
{
    std::string s;
    for (std::string_view c : cles)
        s.append(s.empty() ? "" : ", ").append(c);
    return s;
}

} // namespace pavonis
