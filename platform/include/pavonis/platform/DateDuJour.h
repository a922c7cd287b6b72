#pragma once

#include <pavonis/hostapi/Visibilite.h>

#include <QDate>
#include <QString>

namespace pavonis {

// Today's date. PAVONIS_DATE_DU_JOUR=AAAA-MM-JJ in the environment, or
// simuler(), fixes it (reproducible scenarios and tests).
class PAVONIS_API DateDuJour {
public:
    static QDate date();
    // The short date form of the French locale: "jj/mm/aaaa".
    static QString texte();
    // An invalid date goes back to the clock.
    static void simuler(const QDate& date);
};

} // namespace pavonis
