#pragma once

#include "CompteurServeur.h"
#include <pavonis/platform/IdentiteComposant.h>

namespace pavonis {

// The component identity of the control library, fixed once and for all.
const IdentiteComposant& identitePavonis();

// Live controls and factory locks of this library (for DllCanUnloadNow).
CompteurServeur& compteurServeur();

} // namespace pavonis
