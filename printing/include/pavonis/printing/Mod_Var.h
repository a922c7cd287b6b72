#pragma once

#include <QString>
#include <QtGlobal>

namespace pavonis::impression {

// Hand-off variables between the print dialog and the report. One set per UI
// thread, shared by every control on that thread, alive as long as the
// library: the default printer is therefore determined once per thread.
struct Mod_Var {
    qint16 NbCopiesImpression = 0;  // copies chosen at the last Ok; 0 until then
    bool ImpressionAnnulee = false; // the dialog was left with Annuler
    bool ImprimanteDefautLue = false;
    QString NomImprimanteDefaut;
    bool ImprimanteDefautConnue = false;

    static Mod_Var& courant();
};

} // namespace pavonis::impression
