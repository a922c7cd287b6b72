#include "SessionGrille.h"

#include <pavonis/engine/GrilleAggir.h>
#include <pavonis/evaluation/EcrivainJson.h>
#include <pavonis/host/EntreeParametre.h>
#include <pavonis/host/PoidsPublies.h>
#include <pavonis/host/ServiceDateAutonome.h>
#include <pavonis/presentation/DescriptionEcran.h>
#include <pavonis/presentation/DessinRapport.h>
#include <pavonis/presentation/DonneesEvaluation.h>
#include <pavonis/presentation/FeuilleA4.h>
#include <pavonis/presentation/PageEnregistree.h>

#include <pavonis/hostapi/Erreur.h>

namespace pavonis::web {

namespace {

// Where a control name sits in the grid: its row, and which of its controls.
struct Place {
    std::size_t ligne;
    enum class Genre { Fait, FaitPas, Case } genre;
    Adverbe adverbe = Adverbe::S;
};

Place placer(std::string_view nom)
{
    for (std::size_t i = 0; i < grille::kLignes.size(); ++i) {
        const LigneEvaluation& l = grille::kLignes[i];
        if (nom == l.optionFait)
            return {i, Place::Genre::Fait};
        if (nom == l.optionFaitPas)
            return {i, Place::Genre::FaitPas};
        for (const DescriptionAdverbe& a : kAdverbes)
            if (nom == l.caseAdverbe(a.adverbe))
                return {i, Place::Genre::Case, a.adverbe};
    }
    throw Erreur(Erreur::Code::Saisie,
                 "« " + std::string(nom) + " » n'est ni une option ni une case de la grille.");
}

// The grid's weights as host parameter entries, as the desktop reads them.
std::shared_ptr<IEntreeParametre> entree(char groupe, const std::array<std::array<double, 2>, 10>& lignes)
{
    TableValeurs table(lignes.size(), 2);
    for (std::size_t l = 0; l < lignes.size(); ++l)
        for (std::size_t c = 0; c < 2; ++c)
            table.definir(l + 1, c + 1, lignes[l][c]);
    return std::make_shared<EntreeParametre>(std::string("l'entrée \"") + groupe +
                                                 "\" de la section \"AGGIRPARAM\"",
                                             std::string(), std::move(table));
}

void ecrireZone(EcrivainJson& j, std::string_view nom, std::string_view texte)
{
    j.cle(nom);
    j.ouvrirObjet(true);
    j.cle("texte");
    j.texte(texte);
    j.fermerObjet();
}

} // namespace

SessionGrille::SessionGrille()
    : tables_(tablesPubliees()), moteur_(grille_, tables_, tablePoids_, &EntreeParametre::creer)
{
    grille_.definirGestionnaireClic([this](std::size_t ligne) { moteur_.CalculerNote(ligne); });
}

void SessionGrille::definirPoids(const std::array<std::array<std::array<double, 2>, 10>, 8>& poids)
{
    for (std::size_t g = 0; g < poids.size(); ++g)
        tables_[g] = entree(grille::kGroupes[g], poids[g]);
}

void SessionGrille::init(std::string_view date)
{
    evaluateur_.clear();
    beneficiaire_.clear();
    date_ = date;
    grille_.selectionnerToutesFait();
}

void SessionGrille::cliquer(std::string_view nom)
{
    const Place p = placer(nom);
    switch (p.genre) {
    case Place::Genre::Fait:
        grille_.cliquerFait(p.ligne);
        break;
    case Place::Genre::FaitPas:
        grille_.cliquerFaitPas(p.ligne);
        break;
    case Place::Genre::Case:
        grille_.cliquerCase(p.ligne, p.adverbe);
        break;
    }
}

void SessionGrille::definirTexte(std::string_view zone, std::string_view texte)
{
    if (zone == ecran::kNomEnqueteur)
        evaluateur_ = texte;
    else if (zone == ecran::kNomBenef)
        beneficiaire_ = texte;
    else if (zone == ecran::kDateEval)
        date_ = texte;
    else
        throw Erreur(Erreur::Code::Saisie, "« " + std::string(zone) + " » n'est pas une zone de saisie.");
}

Evaluation SessionGrille::evaluation() const
{
    Evaluation e;
    e.evaluateur = evaluateur_;
    e.beneficiaire = beneficiaire_;
    e.date = date_;
    for (std::size_t i = 0; i < grille::kLignes.size(); ++i) {
        ReponseLigne& r = e.lignes[i];
        r.choix = grille_.fait(i) ? Choix::Fait : grille_.faitPas(i) ? Choix::NeFaitPas : Choix::Aucun;
        for (const DescriptionAdverbe& a : kAdverbes)
            r.adverbes[static_cast<std::size_t>(a.adverbe)] = grille_.valeurCase(i, a.adverbe) == 1;
    }
    return e;
}

ResultatsEvaluation SessionGrille::resultats() const
{
    return ResultatsEvaluation::calculer(evaluation(), tables_);
}

void SessionGrille::charger(const Evaluation& e)
{
    e.verifier(); // before anything changes
    for (std::size_t i = 0; i < grille::kLignes.size(); ++i) {
        const ReponseLigne& r = e.lignes[i];
        grille_.poser(i, r.choix == Choix::Fait, r.choix == Choix::NeFaitPas, r.adverbes);
    }
    evaluateur_ = e.evaluateur;
    beneficiaire_ = e.beneficiaire;
    date_ = e.date;
    for (std::size_t i = 0; i < grille::kLignes.size(); ++i)
        moteur_.CalculerNote(i);
}

std::string SessionGrille::etat() const
{
    EcrivainJson j(false);
    j.ouvrirObjet();
    for (std::size_t i = 0; i < grille::kLignes.size(); ++i) {
        const LigneEvaluation& l = grille::kLignes[i];
        for (const auto& [nom, valeur] :
             {std::pair{l.optionFait, grille_.fait(i)}, {l.optionFaitPas, grille_.faitPas(i)}}) {
            j.cle(nom);
            j.ouvrirObjet(true);
            j.cle("valeur");
            j.booleen(valeur);
            j.fermerObjet();
        }
        for (const DescriptionAdverbe& a : kAdverbes) {
            j.cle(l.caseAdverbe(a.adverbe));
            j.ouvrirObjet(true);
            j.cle("valeur");
            j.booleen(grille_.valeurCase(i, a.adverbe) == 1);
            j.cle("actif");
            j.booleen(grille_.caseActive(i, a.adverbe));
            j.fermerObjet();
        }
        ecrireZone(j, l.note, grille_.note(i));
    }
    for (int numero : grille::kVariablesComposees)
        ecrireZone(j, grille::variable(numero).note, grille_.noteDe(numero));
    ecrireZone(j, ecran::kGroupe, grille_.groupe());
    ecrireZone(j, ecran::kSousGroupe, grille_.sousGroupe());
    ecrireZone(j, ecran::kNomEnqueteur, evaluateur_);
    ecrireZone(j, ecran::kNomBenef, beneficiaire_);
    ecrireZone(j, ecran::kDateEval, date_);
    j.fermerObjet();
    return std::move(j.resultat());
}

std::string SessionGrille::page(std::string_view dateImpression) const
{
    using impression::FeuilleA4;
    using Operation = impression::PageEnregistree::Operation;
    impression::PageEnregistree page;
    impression::dessinerEvaluation(page, impression::DonneesEvaluation(evaluation(), resultats()),
                                   dateImpression);

    EcrivainJson j(false);
    j.ouvrirObjet();
    j.cle("largeur");
    j.nombre(FeuilleA4::kLargeurTwips);
    j.cle("hauteur");
    j.nombre(FeuilleA4::kHauteurTwips);
    j.cle("marge");
    j.nombre(FeuilleA4::kMargeTwips);
    j.cle("operations");
    j.ouvrirTableau();
    const auto couleur = [&](std::uint32_t rgb) {
        char css[8];
        std::snprintf(css, sizeof css, "#%02x%02x%02x", rgb & 0xFFu, (rgb >> 8) & 0xFFu, (rgb >> 16) & 0xFFu);
        j.cle("couleur");
        j.texte(css);
    };
    for (const Operation& o : page.operations()) {
        j.ouvrirObjet(true);
        j.cle("genre");
        j.texte(o.genre == Operation::Genre::Texte                ? "texte"
                : o.genre == Operation::Genre::Ligne              ? "ligne"
                : o.boite == impression::PageTwips::Boite::Pleine ? "boite-pleine"
                                                                  : "boite");
        for (const auto& [cle, v] : {std::pair{"x1", o.x1}, {"y1", o.y1}, {"x2", o.x2}, {"y2", o.y2}}) {
            j.cle(cle);
            j.nombre(double(v));
        }
        couleur(o.couleur);
        if (o.genre == Operation::Genre::Texte) {
            j.cle("texte");
            j.texte(o.texte);
            j.cle("points");
            j.nombre(double(o.police.points));
            j.cle("gras");
            j.booleen(o.police.gras);
            j.cle("italique");
            j.booleen(o.police.italique);
            j.cle("ascendante");
            j.nombre(o.ascendante);
        }
        j.fermerObjet();
    }
    j.fermerTableau();
    j.fermerObjet();
    return std::move(j.resultat());
}

std::string SessionGrille::controlerDate(std::string_view texte, std::chrono::year_month_day aujourdhui)
{
    ServiceDateAutonome service([aujourdhui] { return aujourdhui; });
    std::string t(texte);
    std::int16_t format = 0;
    const std::string normalise = service.NormaliserDate(t, format);
    const bool revoir = service.SaisieARevoir();
    EcrivainJson j(false);
    j.ouvrirObjet();
    j.cle("texte");
    j.texte(normalise);
    j.cle("revoir");
    j.booleen(revoir);
    j.cle("refusee");
    j.booleen(!revoir && !service.controler(normalise).empty());
    j.fermerObjet();
    return std::move(j.resultat());
}

} // namespace pavonis::web
