#include <pavonis/platform/FenetreHote.h>

#include <pavonis/platform/Twips.h>

#include <pavonis/hostapi/Erreur.h>

#include <QMdiSubWindow>
#include <QWidget>

#include <cmath>

namespace pavonis {

FenetreHote::FenetreHote(QWidget* controle) : controle_(controle) {}

QWidget* FenetreHote::fenetre() const
{
    // The nearest window that contains the control: a top-level window, or
    // a sub-window of the host's multiple-document area.
    if (controle_)
        for (QWidget* w = controle_->parentWidget(); w; w = w->parentWidget())
            if (w->isWindow() || qobject_cast<QMdiSubWindow*>(w))
                return w;
    throw Erreur(Erreur::Code::Plateforme, "Le contrôle n'est placé dans aucune fenêtre hôte.");
}

QSize FenetreHote::tailleInterieure(const QWidget* f)
{
    // A sub-window's size includes its title bar and frame; its content is
    // what the host sees as the window, as a top-level window's client area.
    if (qobject_cast<const QMdiSubWindow*>(f))
        return f->contentsRect().size();
    return f->size();
}

void FenetreHote::redimensionner(QWidget* f, QSize interieure)
{
    if (qobject_cast<const QMdiSubWindow*>(f)) {
        const QMargins cadre = f->contentsMargins();
        interieure += QSize(cadre.left() + cadre.right(), cadre.top() + cadre.bottom());
    }
    f->resize(interieure);
}

void FenetreHote::definir(const QString& propriete, const QVariant& valeur)
{
    QWidget* f = fenetre();
    if (propriete == QLatin1String("Caption")) {
        f->setWindowTitle(valeur.toString());
    } else if (propriete == QLatin1String("Height")) {
        redimensionner(f, {tailleInterieure(f).width(), Twips::versPixelsY(valeur.toDouble())});
    } else if (propriete == QLatin1String("Width")) {
        redimensionner(f, {Twips::versPixelsX(valeur.toDouble()), tailleInterieure(f).height()});
    } else {
        throw Erreur(Erreur::Code::Plateforme,
                     "La fenêtre hôte n'a pas de propriété « " + propriete.toStdString() + " ».");
    }
}

QVariant FenetreHote::lire(const QString& propriete) const
{
    const QWidget* f = fenetre();
    if (propriete == QLatin1String("Caption"))
        return f->windowTitle();
    if (propriete == QLatin1String("Height"))
        return std::round(Twips::depuisPixelsY(tailleInterieure(f).height()));
    if (propriete == QLatin1String("Width"))
        return std::round(Twips::depuisPixelsX(tailleInterieure(f).width()));
    throw Erreur(Erreur::Code::Plateforme,
                 "La fenêtre hôte n'a pas de propriété « " + propriete.toStdString() + " ».");
}

void FenetreHote::decharger()
{
    fenetre()->close();
}

} // namespace pavonis
