#pragma once

#include <pavonis/hostapi/Objet.h>

#include <cstdint>
#include <string>

namespace pavonis {

/// Le service de contrôle des dates de l'hôte.
class PAVONIS_API IServiceDate : public virtual Objet {
public:
    /// Normalise une date telle que saisie ; `format` 0 demande « jj/mm/aaaa ».
    /// Règle SaisieARevoir. Rend le texte à remettre dans la zone.
    virtual std::string NormaliserDate(std::string& texte, std::int16_t& format) = 0;
    /// Vrai quand la dernière saisie normalisée était incomplète et que
    /// l'utilisateur doit la revoir.
    virtual bool SaisieARevoir() = 0;
    /// Contrôle la date d'une zone de texte : texte vide si elle est acceptée,
    /// sinon la raison du refus.
    virtual std::string ControlerDate(const ObjetPtr& zone) = 0;
};

} // namespace pavonis
