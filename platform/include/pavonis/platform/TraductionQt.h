#pragma once

#include <pavonis/hostapi/Visibilite.h>

namespace pavonis {

// Qt's own texts (context menus of text boxes, standard buttons, the option
// parser's messages) in French, unless the application already has a
// translation of Qt's texts. Once per application; nothing without one.
PAVONIS_API void traduireQt();

} // namespace pavonis
