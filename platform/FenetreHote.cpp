#include "FenetreHote.h"

#include "Twips.h"

#include <pavonis/Erreur.h>

#include <QWidget>

#include <cmath>

namespace pavonis {

FenetreHote::FenetreHote(QWidget* controle) : controle_(controle) {}

QWidget* FenetreHote::fenetre() const
{
    if (!controle_ || !controle_->parentWidget())
        throw Erreur(Erreur::Code::Plateforme, "Le contrôle n'est placé dans aucune fenêtre hôte.");
    return controle_->window();
}

void FenetreHote::definir(const QString& propriete, const QVariant& valeur)
{
    QWidget* f = fenetre();
    if (propriete == QLatin1String("Caption")) {
        f->setWindowTitle(valeur.toString());
    } else if (propriete == QLatin1String("Height")) {
        f->resize(f->width(), Twips::versPixelsY(valeur.toDouble()));
    } else if (propriete == QLatin1String("Width")) {
        f->resize(Twips::versPixelsX(valeur.toDouble()), f->height());
    } else {
        throw Erreur(Erreur::Code::Plateforme, "La fenêtre hôte n'a pas de propriété « " +
                                                   propriete.toStdString() + " ».");
    }
}

QVariant FenetreHote::lire(const QString& propriete) const
{
    const QWidget* f = fenetre();
    if (propriete == QLatin1String("Caption"))
        return f->windowTitle();
    if (propriete == QLatin1String("Height"))
        return std::round(Twips::depuisPixelsY(f->height()));
    if (propriete == QLatin1String("Width"))
        return std::round(Twips::depuisPixelsX(f->width()));
    throw Erreur(Erreur::Code::Plateforme,
                 "La fenêtre hôte n'a pas de propriété « " + propriete.toStdString() + " ».");
}

void FenetreHote::decharger() { fenetre()->close(); }

} // namespace pavonis
