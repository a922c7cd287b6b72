#include <pavonis/engine/MoteurAggir.h>

#include <pavonis/engine/CascadeGir.h>
#include <pavonis/engine/Composition.h>
#include <pavonis/engine/GrilleAggir.h>
#include <pavonis/engine/RegleLigne.h>

#include <array>
#include <string>
#include <string_view>

namespace pavonis {

MoteurAggir::MoteurAggir(ISurfaceGrille& surface, const TablesGroupes& tables,
                         std::shared_ptr<IEntreeParametre>& tablePoids, FabriqueEntree creerEntree)
    : surface_(surface), tables_(tables), tablePoids_(tablePoids), creerEntree_(std::move(creerEntree))
{}

void MoteurAggir::CalculerNote(IOption& fait, IOption& /*faitPas*/, ICaseACocher& c, ICaseACocher& h,
                               ICaseACocher& s, ICaseACocher& t, IZoneTexte& note)
{
    const std::array<ICaseACocher*, 4> cases{&c, &h, &s, &t};
    const auto nbCochees = [&] {
        int n = 0;
        for (const ICaseACocher* k : cases)
            n += k->valeur() == 1;
        return n;
    };

    const bool estFait = fait.valeur();
    if (estFait) {
        for (ICaseACocher* k : cases) {
            k->definirValeur(0);
            k->definirActive(false);
        }
    } else {
        for (ICaseACocher* k : cases)
            k->definirActive(true);
        // A row never stays with four ticks: the fourth clears it.
        if (nbCochees() == 4)
            for (ICaseACocher* k : cases)
                k->definirValeur(0);
    }
    note.definirTexte(noteLigne(estFait, nbCochees()));
    CalculerNotesComposees();
    CalculerGir();
}

void MoteurAggir::CalculerNote(std::size_t ligne)
{
    ControlesLigne l = surface_.controlesLigne(ligne);
    CalculerNote(l.fait, l.faitPas, l.c, l.h, l.s, l.t, l.note);
}

void MoteurAggir::CalculerNotesComposees()
{
    for (int numero : grille::kVariablesComposees) {
        const VariableAggir& v = grille::variable(numero);
        std::array<std::string, 3> textes;
        std::array<std::string_view, 3> notes;
        for (std::size_t i = 0; i < v.nbLignes; ++i) {
            textes[i] = surface_.controlesLigne(v.premiereLigne + i).note.texte();
            notes[i] = textes[i];
        }
        surface_.noteVariable(numero).definirTexte(
            combinerNotes(v.regle, std::span(notes.data(), v.nbLignes)));
    }
}

MoteurAggir::Notes MoteurAggir::lireNotes()
{
    Notes notes{};
    for (std::size_t ligne = 0; ligne < grille::kNbLignesPoids; ++ligne) {
        const std::string note = surface_.noteVariable(grille::kVariablesPonderees[ligne]).texte();
        notes[ligne] = note == "B" ? 1 : note == "C" ? 2 : 0;
    }
    return notes;
}

std::int32_t MoteurAggir::CalculerScoreGroupe(char groupe)
{
    return scoreGroupe(groupe, lireNotes());
}

std::int32_t MoteurAggir::scoreGroupe(char groupe, const Notes& notes)
{
    const auto index = grille::indexGroupe(groupe);
    const std::string nom(1, groupe);
    if (!index)
        throw Erreur(Erreur::Code::ParametreInvalide, "Groupe de poids inconnu : \"" + nom + "\".");

    // A fresh working table, given the group's table by value; the previous
    // one is released.
    std::shared_ptr<IEntreeParametre> poids = creerEntree_ ? creerEntree_() : nullptr;
    if (!poids)
        throw Erreur(Erreur::Code::ObjetAbsent,
                     "Calcul du GIR impossible : la table de travail des poids n'a pas pu être créée.");
    tablePoids_ = poids;
    const auto& table = tables_[*index];
    if (!table)
        throw Erreur(Erreur::Code::ParametreAbsent,
                     "Calcul du GIR impossible : la table de poids du groupe " + nom +
                         " n'est pas chargée (section \"AGGIRPARAM\", entrée \"" + nom + "\").");
    poids->DefinirValeur(table);

    // "A", an empty note or any other text weighs nothing.
    std::int32_t score = 0;
    for (std::size_t ligne = 0; ligne < notes.size(); ++ligne)
        if (notes[ligne] != 0)
            score = cascade::ajouterPoids(score, poids->Valeur(static_cast<std::int16_t>(ligne + 1),
                                                               static_cast<std::int16_t>(notes[ligne])));
    return score;
}

void MoteurAggir::CalculerGir()
{
    const Notes notes = lireNotes();
    const int gir =
        cascade::parcourir([&](std::size_t g) { return scoreGroupe(grille::kGroupes[g], notes); });
    std::string sousGroupe;
    if (cascade::aSousGroupe(gir))
        sousGroupe = cascade::sousGroupe(surface_.noteVariable(grille::kVariableAlerter).texte(),
                                         surface_.noteVariable(grille::kVariableDeplacExter).texte());
    surface_.zoneGroupe().definirTexte(std::to_string(gir));
    surface_.zoneSousGroupe().definirTexte(sousGroupe);
}

} // namespace pavonis
