#pragma once

#include <QString>

// Programmatic ids of the host libraries' classes that the control creates.
namespace pavonis::classes_hote {

inline const QString kEntreeParametre = QStringLiteral("Velmor.EntreeParametre");
inline const QString kServiceDate = QStringLiteral("Velmor.ServiceDate");

} // namespace pavonis::classes_hote
