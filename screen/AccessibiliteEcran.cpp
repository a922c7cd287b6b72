#include "AccessibiliteEcran.h"

#include <pavonis/presentation/NomsAccessibles.h>
#include <pavonis/screen/EcranPavonis.h>

#include <QWidget>

namespace pavonis {

void decrireEcran(EcranPavonis& ecran)
{
    const auto qs = [](const std::string& s) { return QString::fromStdString(s); };
    for (const auto& [controle, n] : ecran::nomsAccessibles()) {
        QWidget* w = ecran.controle(controle);
        w->setAccessibleName(qs(n.nom));
        if (!n.description.empty())
            w->setAccessibleDescription(qs(n.description));
        if (!n.bulle.empty())
            w->setToolTip(qs(n.bulle));
    }
}

} // namespace pavonis
