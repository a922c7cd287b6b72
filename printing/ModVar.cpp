#include <pavonis/printing/ModVar.h>

namespace pavonis::impression {

ModVar& ModVar::courant()
{
    thread_local ModVar variables;
    return variables;
}

} // namespace pavonis::impression
