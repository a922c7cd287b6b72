#pragma once

#include "ExportPlateforme.h"

#include <QPointer>
#include <QString>
#include <QVariant>

class QWidget;

namespace pavonis {

// The window of the host in which a control sits, reached by property name
// as a container's late-bound properties are: "Caption" (text), "Height" and
// "Width" (twips). Every access raises Erreur (Plateforme) when there is no
// such window or no such property.
class PAVONIS_PLATEFORME_EXPORT FenetreHote {
public:
    explicit FenetreHote(QWidget* controle);

    void definir(const QString& propriete, const QVariant& valeur);
    QVariant lire(const QString& propriete) const;

    // Closes the window; a host that wants it destroyed with its contents
    // sets Qt::WA_DeleteOnClose on it.
    void decharger();

private:
    QWidget* fenetre() const;

    QPointer<QWidget> controle_;
};

} // namespace pavonis
