#include <pavonis/host/BaseDonneesAutonome.h>

#include "SectionParametres.h"
#include <pavonis/host/MagasinParametres.h>

namespace pavonis {

BaseDonneesAutonome::BaseDonneesAutonome(std::shared_ptr<MagasinParametres> magasin)
    : magasin_(std::move(magasin))
{}

ObjetPtr BaseDonneesAutonome::Section(const std::string& cle)
{
    if (!magasin_->sectionExiste(cle))
        throw Erreur(Erreur::Code::ParametreAbsent, "La section de paramètres \"" + cle +
                                                        "\" n'existe pas dans " +
                                                        magasin_->chemin().string() + ".");
    return std::make_shared<SectionParametres>(magasin_, cle);
}

} // namespace pavonis
