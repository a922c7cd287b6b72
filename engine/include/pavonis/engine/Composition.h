#pragma once

#include <pavonis/engine/VariableAggir.h>

#include <span>
#include <string_view>

namespace pavonis {

// The note of a variable made of sub-variables, from its sub-variables'
// notes (exact, case-sensitive comparisons; an empty or unknown note is no
// letter at all).
std::string_view combinerNotes(RegleComposee regle, std::span<const std::string_view> notes);

} // namespace pavonis
