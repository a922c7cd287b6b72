#pragma once

#include <string>
#include <string_view>

namespace pavonis::impression {

// What the A4 report reads, control by control, under the screen's names:
// the text of a text box (UTF-8), whether an option is selected, whether a
// box is ticked. The screen answers, and so does an evaluation held as data
// (DonneesEvaluation); the drawing is the same either way. A name it does
// not know is a pavonis::Erreur naming it.
class DonneesRapport {
public:
    virtual ~DonneesRapport() = default;
    virtual std::string texte(std::string_view zone) const = 0;
    virtual bool optionSelectionnee(std::string_view option) const = 0;
    virtual bool caseCochee(std::string_view caseACocher) const = 0;
};

} // namespace pavonis::impression
