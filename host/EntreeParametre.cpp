#include <pavonis/host/EntreeParametre.h>

#include <typeinfo>

namespace pavonis {

EntreeParametre::EntreeParametre()
{
    static const auto vide = std::make_shared<const Contenu>(Contenu{"la table de travail (vide)", {}, {}});
    contenu_ = vide;
}

EntreeParametre::EntreeParametre(std::string origine, std::string texte, TableValeurs table)
    : contenu_(
          std::make_shared<const Contenu>(Contenu{std::move(origine), std::move(texte), std::move(table)}))
{}

std::string EntreeParametre::Texte(std::int16_t debut, std::int16_t ligne, std::int16_t colonne)
{
    // Only the whole-text form (from a start position) is supported.
    if (debut < 1 || ligne != -1 || colonne != -1)
        throw Erreur(Erreur::Code::ParametreInvalide,
                     "Texte(" + std::to_string(debut) + ", " + std::to_string(ligne) + ", " +
                         std::to_string(colonne) + ") : forme non prise en charge (" + contenu_->origine +
                         ").");
    const auto d = static_cast<std::size_t>(debut - 1);
    const std::string& texte = contenu_->texte;
    return d >= texte.size() ? std::string() : texte.substr(d);
}

double EntreeParametre::Valeur(std::int16_t ligne, std::int16_t colonne)
{
    if (auto v = contenu_->table.valeur(ligne, colonne))
        return *v;
    const TableValeurs& t = contenu_->table;
    throw Erreur(Erreur::Code::ParametreAbsent,
                 "Pas de valeur en ligne " + std::to_string(ligne) + ", colonne " + std::to_string(colonne) +
                     " de " + contenu_->origine + " (table de " + std::to_string(t.lignes()) +
                     " ligne(s) sur " + std::to_string(t.colonnes()) + " colonne(s)).");
}

void EntreeParametre::DefinirValeur(const std::shared_ptr<IEntreeParametre>& source)
{
    if (!source)
        throw Erreur(Erreur::Code::ObjetAbsent,
                     "Affectation d'une entrée de paramètre : aucune entrée donnée.");
    // Only an entry of this library can be copied (a cheaper test than a
    // dynamic_cast, and the class is final).
    const IEntreeParametre& s = *source;
    if (typeid(s) != typeid(EntreeParametre))
        throw Erreur(
            Erreur::Code::InterfaceAbsente,
            "Affectation d'une entrée de paramètre : l'entrée donnée vient d'une autre bibliothèque.");
    contenu_ = static_cast<const EntreeParametre&>(s).contenu_;
}

} // namespace pavonis
