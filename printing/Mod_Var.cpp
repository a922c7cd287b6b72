#include <pavonis/printing/Mod_Var.h>

namespace pavonis::impression {

Mod_Var& Mod_Var::courant()
{
    thread_local Mod_Var variables;
    return variables;
}

} // namespace pavonis::impression
