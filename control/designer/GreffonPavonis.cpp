#include "GreffonPavonis.h"

#include <pavonis/control/Uc_Pavonis.h>

#include <QIcon>

namespace pavonis {

GreffonPavonis::GreffonPavonis(QObject* parent) : QObject(parent) {}

QString GreffonPavonis::name() const
{
    return QStringLiteral("pavonis::Uc_Pavonis");
}
QString GreffonPavonis::group() const
{
    return QStringLiteral("Pavonis");
}
QString GreffonPavonis::toolTip() const
{
    return QStringLiteral("Évaluation AGGIR 2008 (grille, GIR, impression)");
}
QString GreffonPavonis::whatsThis() const
{
    return QStringLiteral("L'écran d'évaluation de la grille AGGIR : l'hôte lui donne son client, sa base de "
                          "données et les droits de l'utilisateur, puis appelle Init().");
}
QString GreffonPavonis::includeFile() const
{
    return QStringLiteral("pavonis/control/Uc_Pavonis.h");
}
QIcon GreffonPavonis::icon() const
{
    return {};
}
bool GreffonPavonis::isContainer() const
{
    return false;
}
QWidget* GreffonPavonis::createWidget(QWidget* parent)
{
    return new Uc_Pavonis(parent);
}

QString GreffonPavonis::domXml() const
{
    // 14480 x 11000 twips: the large layout's window, at 96 dpi.
    return QStringLiteral("<ui language=\"c++\"><widget class=\"pavonis::Uc_Pavonis\" name=\"uc_Pavonis\">"
                          "<property name=\"geometry\"><rect><x>0</x><y>0</y><width>965</width>"
                          "<height>733</height></rect></property></widget></ui>");
}

} // namespace pavonis
