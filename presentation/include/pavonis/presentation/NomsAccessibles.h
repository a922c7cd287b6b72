#pragma once

#include <map>
#include <string>
#include <string_view>

namespace pavonis::ecran {

// What assistive technology says of a control: its French name ("Toilette,
// haut : Fait"), a description where the name needs one, and a tooltip.
struct NomAccessible {
    std::string nom;
    std::string description;
    std::string bulle;
};

// The names of every control that takes the focus or shows a result, by
// control name, built from the grid's table: the desktop screen and the
// browser's component say the same.
const std::map<std::string_view, NomAccessible>& nomsAccessibles();

} // namespace pavonis::ecran
