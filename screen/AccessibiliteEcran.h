#pragma once

namespace pavonis {

class EcranPavonis;

// What assistive technology says of each control of the screen, built from
// the grid's table: a French accessible name ("Toilette, haut : Fait"),
// a description where the name needs one, and the adverbs' meaning as
// tooltips on the S, T, C and H boxes, all from the names the browser's
// component shows too.
void decrireEcran(EcranPavonis& ecran);

} // namespace pavonis
