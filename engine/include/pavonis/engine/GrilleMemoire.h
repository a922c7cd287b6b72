#pragma once

#include <pavonis/engine/GrilleAggir.h>
#include <pavonis/engine/ISurfaceGrille.h>

#include <array>
#include <functional>
#include <string>

namespace pavonis {

// The grid's controls held in memory, behaving like the toolkit's: the two
// options of a row are exclusive, a disabled box ignores clicks, and, when
// `clicsProgrammes` is on, a change of value made by the program raises the
// control's click as a user's click would. Used by the batch scorer, the
// tests and the benchmarks.
class GrilleMemoire final : public ISurfaceGrille {
public:
    // Called with the row whose control was clicked (by the user or, with
    // `clicsProgrammes`, by the program).
    using GestionnaireClic = std::function<void(std::size_t ligne)>;

    explicit GrilleMemoire(bool clicsProgrammes = true);

    void definirGestionnaireClic(GestionnaireClic gestionnaire) { clic_ = std::move(gestionnaire); }

    // User actions.
    void cliquerFait(std::size_t ligne);
    void cliquerFaitPas(std::size_t ligne);
    void cliquerCase(std::size_t ligne, Adverbe adverbe); // ignored while the box is disabled

    // Selects every "Fait" option, as the grid reset does.
    void selectionnerToutesFait();

    // Sets a row's options and boxes as a restored evaluation holds them,
    // every box enabled, without any click: the caller runs the row rule.
    void poser(std::size_t ligne, bool fait, bool faitPas, const std::array<bool, 4>& cases);

    // State read-back.
    bool fait(std::size_t ligne) const { return lignes_[ligne].fait.valeur(); }
    bool faitPas(std::size_t ligne) const { return lignes_[ligne].faitPas.valeur(); }
    int valeurCase(std::size_t ligne, Adverbe a) const { return caseDe(ligne, a).valeur(); }
    bool caseActive(std::size_t ligne, Adverbe a) const { return caseDe(ligne, a).active; }
    std::string note(std::size_t ligne) const { return lignes_[ligne].note.texte(); }
    std::string noteDe(int numero) const;
    std::string groupe() const { return groupe_.texte(); }
    std::string sousGroupe() const { return sousGroupe_.texte(); }

    // ISurfaceGrille
    ControlesLigne controlesLigne(std::size_t ligne) override;
    IZoneTexte& noteVariable(int numero) override;
    IZoneTexte& zoneGroupe() override { return groupe_; }
    IZoneTexte& zoneSousGroupe() override { return sousGroupe_; }

private:
    struct Zone final : IZoneTexte {
        std::string valeur;
        std::string texte() const override { return valeur; }
        void definirTexte(std::string_view t) override { valeur.assign(t); }
    };
    struct Option final : IOption {
        bool selectionnee = false;
        bool valeur() const override { return selectionnee; }
    };
    struct Case final : ICaseACocher {
        GrilleMemoire* grille = nullptr;
        std::size_t ligne = 0;
        int etat = 0;
        bool active = true;
        int valeur() const override { return etat; }
        void definirValeur(int v) override;
        void definirActive(bool a) override { active = a; }
    };
    struct Ligne {
        Option fait, faitPas;
        std::array<Case, 4> cases; // S, T, C, H
        Zone note;
    };

    const Case& caseDe(std::size_t ligne, Adverbe a) const
    {
        return lignes_[ligne].cases[static_cast<std::size_t>(a)];
    }
    Case& caseDe(std::size_t ligne, Adverbe a) { return lignes_[ligne].cases[static_cast<std::size_t>(a)]; }
    void selectionner(std::size_t ligne, bool fait, bool parProgramme);
    void raiseClic(std::size_t ligne)
    {
        if (clic_)
            clic_(ligne);
    }

    bool clicsProgrammes_;
    GestionnaireClic clic_;
    std::array<Ligne, grille::kNbLignes> lignes_;
    std::array<Zone, grille::kNbVariables> notesComposees_; // used for composite variables only
    Zone groupe_, sousGroupe_;
};

} // namespace pavonis
