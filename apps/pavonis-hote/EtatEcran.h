#pragma once

#include <QJsonObject>

class QWidget;

namespace pavonis {

// Every control of the control's screen, as JSON: name, kind, container,
// value or text, enabled, visible, and place in twips.
QJsonObject etatEcran(const QWidget& controle);

} // namespace pavonis
