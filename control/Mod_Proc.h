#pragma once

// Module procedures of the control.
namespace pavonis::Mod_Proc {

// Fetches the sections "AGGIRPARAM" and "CHEMINFICHIER" and the entry "1" of
// the latter from the thread's database object. Raises Erreur at the first
// failure.
void ChargerParametres();

} // namespace pavonis::Mod_Proc
