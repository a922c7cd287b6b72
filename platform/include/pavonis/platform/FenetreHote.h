#pragma once

#include <pavonis/hostapi/Visibilite.h>

#include <QPointer>
#include <QSize>
#include <QString>
#include <QVariant>

class QWidget;

namespace pavonis {

// The window of the host in which a control sits -- the nearest top-level
// window or multiple-document sub-window that contains it -- reached by
// property name as a container's late-bound properties are: "Caption"
// (text), "Height" and "Width" (twips, of what the window shows inside its
// frame). Every access raises Erreur (Plateforme) when there is no such
// window or no such property.
class PAVONIS_API FenetreHote {
public:
    explicit FenetreHote(QWidget* controle);

    void definir(const QString& propriete, const QVariant& valeur);
    QVariant lire(const QString& propriete) const;

    // Closes the window; a host that wants it destroyed with its contents
    // sets Qt::WA_DeleteOnClose on it.
    void decharger();

    // The window itself; raises Erreur when the control sits in none.
    QWidget* fenetre() const;

private:
    static QSize tailleInterieure(const QWidget* fenetre);
    static void redimensionner(QWidget* fenetre, QSize interieure);

    QPointer<QWidget> controle_;
};

} // namespace pavonis
