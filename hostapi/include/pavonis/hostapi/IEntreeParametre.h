#pragma once

#include <pavonis/hostapi/Objet.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace pavonis {

/// Une entrée de paramètres de la base de l'hôte : un texte et une table de
/// nombres. Chaque membre lève Erreur en cas d'échec.
class PAVONIS_API IEntreeParametre : public virtual Objet {
public:
    /// Le texte de l'entrée ; les trois arguments désignent le texte entier
    /// quand ils valent (1, -1, -1), la seule forme qu'emploie le contrôle.
    virtual std::string Texte(std::int16_t debut, std::int16_t ligne, std::int16_t colonne) = 0;

    /// Membre par défaut, en lecture : une cellule de la table de l'entrée
    /// (lignes et colonnes comptées à partir de 1).
    virtual double Valeur(std::int16_t ligne, std::int16_t colonne) = 0;

    /// Membre par défaut, en écriture : l'entrée prend la valeur d'une autre,
    /// par copie ; ce qui change ensuite l'une n'atteint pas l'autre. Une
    /// entrée d'une autre bibliothèque de l'hôte ne se copie pas : Erreur.
    virtual void DefinirValeur(const std::shared_ptr<IEntreeParametre>& source) = 0;
};

/// Crée une entrée neuve et vide de la classe d'entrées de l'hôte.
using FabriqueEntree = std::function<std::shared_ptr<IEntreeParametre>()>;

} // namespace pavonis
