#pragma once

#include <pavonis/presentation/PageTwips.h>

#include <string>
#include <string_view>

namespace pavonis::impression {

class DonneesRapport;

// The A4 evaluation report drawn on any page: set-up, header, grid, legend;
// the document is left open. The header shows the date of printing (not the
// evaluation date typed on the screen). The printer, a PDF file, an image
// and the browser's page are all drawn by these routines.
void dessinerEvaluation(PageTwips& page, const DonneesRapport& donnees, std::string_view dateImpression);

// The parts of the page.
void ImprimerEntete(PageTwips& page, const DonneesRapport& donnees, std::string_view dateImpression);
void ImprimerGrille(PageTwips& page, const DonneesRapport& donnees);
void ImprimerLegende(PageTwips& page);
// The five boxes (NE FAIT PAS, S, T, C, H) and the note of one row, from the
// row's "Ne fait pas" option, its boxes C, H, S, T and its note box; leaves
// the pen after the note, on the line.
void ImprimerCasesLigne(PageTwips& page, bool optionNeFaitPas, bool caseC, bool caseH, bool caseS, bool caseT,
                        std::string_view zoneNote);

} // namespace pavonis::impression
