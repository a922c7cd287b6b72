#include "SectionParametres.h"

#include <pavonis/host/EntreeParametre.h>
#include <pavonis/host/MagasinParametres.h>

namespace pavonis {

SectionParametres::SectionParametres(std::shared_ptr<MagasinParametres> magasin, std::string nom)
    : magasin_(std::move(magasin)), nom_(std::move(nom))
{}

ObjetPtr SectionParametres::Section(const std::string& cle)
{
    auto entree = magasin_->lireEntree(nom_, cle);
    const std::string designation = "l'entrée \"" + cle + "\" de la section \"" + nom_ + "\"";
    if (!entree)
        throw Erreur(Erreur::Code::ParametreAbsent,
                     "Il manque " + designation + " dans " + magasin_->chemin().string() + ".");
    return std::make_shared<EntreeParametre>(designation, std::move(entree->texte), std::move(entree->table));
}

} // namespace pavonis
