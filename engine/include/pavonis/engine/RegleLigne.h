#pragma once

#include <string_view>

namespace pavonis {

// The modality of one evaluation row: "A" when the person does it; when not,
// "C" with no adverb ticked and "B" with one to three. Four ticks clear the
// row (every adverb unmet is "C" again).
constexpr std::string_view noteLigne(bool fait, int nbCochees)
{
    if (fait)
        return "A";
    return nbCochees == 0 || nbCochees == 4 ? "C" : "B";
}

} // namespace pavonis
