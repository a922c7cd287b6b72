#pragma once

#include <QString>

namespace pavonis::impression {

// One item of the printer collection.
struct ImprimanteInstallee {
    QString DeviceName; // the CUPS queue name
    QString Port;       // where the queue sends its jobs: the device URI, without credentials
};

} // namespace pavonis::impression
