#include "EntreeParametre.h"

namespace pavonis {

EntreeParametre::EntreeParametre(std::string origine, std::string texte, TableValeurs table)
    : origine_(std::move(origine)), texte_(std::move(texte)),
      table_(std::make_shared<const TableValeurs>(std::move(table)))
{
}

std::string EntreeParametre::Texte(std::int16_t debut, std::int16_t ligne, std::int16_t colonne)
{
    // Only the whole-text form (from a start position) is supported.
    if (debut < 1 || ligne != -1 || colonne != -1)
        throw Erreur(Erreur::Code::ParametreInvalide,
                     "Texte(" + std::to_string(debut) + ", " + std::to_string(ligne) + ", " +
                         std::to_string(colonne) + ") : forme non prise en charge (" + origine_ + ").");
    const auto d = static_cast<std::size_t>(debut - 1);
    return d >= texte_.size() ? std::string() : texte_.substr(d);
}

double EntreeParametre::Valeur(std::int16_t ligne, std::int16_t colonne)
{
    if (auto v = table_->valeur(ligne, colonne))
        return *v;
    throw Erreur(Erreur::Code::ParametreAbsent,
                 "Pas de valeur en ligne " + std::to_string(ligne) + ", colonne " +
                     std::to_string(colonne) + " de " + origine_ + " (table de " +
                     std::to_string(table_->lignes()) + " ligne(s) sur " +
                     std::to_string(table_->colonnes()) + " colonne(s)).");
}

void EntreeParametre::DefinirValeur(const ObjetPtr& source)
{
    auto autre = convertir<EntreeParametre>(source, "Affectation d'une entrée de paramètre");
    origine_ = autre->origine_;
    texte_ = autre->texte_;
    table_ = autre->table_;
}

} // namespace pavonis
