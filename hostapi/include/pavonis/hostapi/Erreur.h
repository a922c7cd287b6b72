#pragma once

#include <pavonis/hostapi/Visibilite.h>

#include <stdexcept>
#include <string>

namespace pavonis {

/// Un échec, levé aussitôt. Tout appel au travers d'une interface de
/// composant (objet de l'hôte, service de la plate-forme, magasin de
/// paramètres) signale ainsi son échec ; le message, en français, nomme ce qui
/// est faux, car il finit devant un utilisateur ou un développeur d'hôte.
class PAVONIS_API Erreur : public std::runtime_error {
public:
    /// La nature de l'échec.
    enum class Code {
        EchecHote,         ///< l'objet de l'hôte a répondu par un échec
        InterfaceAbsente,  ///< un objet n'offre pas l'interface demandée
        ObjetAbsent,       ///< aucun objet là où il en faut un
        ParametreAbsent,   ///< section, entrée ou cellule de table absente
        ParametreInvalide, ///< un paramètre de forme ou de genre inattendus
        Depassement,       ///< dépassement de capacité d'un calcul
        Stockage,          ///< un fichier ne peut être lu ou écrit
        Plateforme,        ///< un service de la plate-forme a échoué (fenêtre, imprimante…)
        Saisie,            ///< une entrée mal formée
        Confiance,         ///< un fichier que d'autres que l'utilisateur peuvent modifier, refusé
    };

    /// Un échec de cette nature, avec son message en français.
    Erreur(Code code, const std::string& message) : std::runtime_error(message), code_(code) {}

    /// La nature de l'échec.
    Code code() const noexcept { return code_; }

private:
    Code code_;
};

} // namespace pavonis
