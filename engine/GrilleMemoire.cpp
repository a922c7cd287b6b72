#include <pavonis/engine/GrilleMemoire.h>

namespace pavonis {

GrilleMemoire::GrilleMemoire(bool clicsProgrammes) : clicsProgrammes_(clicsProgrammes)
{
    for (std::size_t i = 0; i < lignes_.size(); ++i)
        for (Case& c : lignes_[i].cases) {
            c.grille = this;
            c.ligne = i;
        }
}

void GrilleMemoire::Case::definirValeur(int v)
{
    if (v == etat)
        return;
    etat = v;
    if (grille->clicsProgrammes_)
        grille->raiseClic(ligne);
}

void GrilleMemoire::selectionner(std::size_t ligne, bool fait, bool parProgramme)
{
    Ligne& l = lignes_[ligne];
    Option& choisie = fait ? l.fait : l.faitPas;
    const bool change = !choisie.selectionnee;
    choisie.selectionnee = true;
    (fait ? l.faitPas : l.fait).selectionnee = false;
    // A user's click always raises the event; the program's selection only
    // when the value changes.
    if (!parProgramme || (change && clicsProgrammes_))
        raiseClic(ligne);
}

void GrilleMemoire::cliquerFait(std::size_t ligne)
{
    selectionner(ligne, true, false);
}
void GrilleMemoire::cliquerFaitPas(std::size_t ligne)
{
    selectionner(ligne, false, false);
}

void GrilleMemoire::cliquerCase(std::size_t ligne, Adverbe adverbe)
{
    Case& c = caseDe(ligne, adverbe);
    if (!c.active)
        return;
    c.etat = c.etat == 1 ? 0 : 1;
    raiseClic(ligne);
}

void GrilleMemoire::selectionnerToutesFait()
{
    for (std::size_t i = 0; i < lignes_.size(); ++i) {
        const bool change = !lignes_[i].fait.selectionnee;
        selectionner(i, true, true);
        // Without program clicks the reset still has to settle the row.
        if (change && !clicsProgrammes_)
            raiseClic(i);
    }
}

void GrilleMemoire::poser(std::size_t ligne, bool fait, bool faitPas, const std::array<bool, 4>& cases)
{
    Ligne& l = lignes_[ligne];
    l.fait.selectionnee = fait;
    l.faitPas.selectionnee = faitPas;
    for (std::size_t a = 0; a < cases.size(); ++a) {
        l.cases[a].etat = cases[a] ? 1 : 0;
        l.cases[a].active = true;
    }
}

ControlesLigne GrilleMemoire::controlesLigne(std::size_t ligne)
{
    Ligne& l = lignes_[ligne];
    auto& k = l.cases;
    using enum Adverbe;
    return {l.fait,
            l.faitPas,
            k[static_cast<std::size_t>(C)],
            k[static_cast<std::size_t>(H)],
            k[static_cast<std::size_t>(S)],
            k[static_cast<std::size_t>(T)],
            l.note};
}

std::string GrilleMemoire::noteDe(int numero) const
{
    const VariableAggir& v = grille::variable(numero);
    return v.composee() ? notesComposees_[static_cast<std::size_t>(numero - 1)].texte()
                        : lignes_[v.premiereLigne].note.texte();
}

IZoneTexte& GrilleMemoire::noteVariable(int numero)
{
    const VariableAggir& v = grille::variable(numero);
    if (v.composee())
        return notesComposees_[static_cast<std::size_t>(numero - 1)];
    return lignes_[v.premiereLigne].note;
}

} // namespace pavonis
