#include <pavonis/engine/Composition.h>

#include <algorithm>

namespace pavonis {

namespace {
bool toutes(std::span<const std::string_view> notes, std::string_view lettre)
{
    return std::all_of(notes.begin(), notes.end(), [&](std::string_view n) { return n == lettre; });
}
bool une(std::span<const std::string_view> notes, std::string_view lettre)
{
    return std::any_of(notes.begin(), notes.end(), [&](std::string_view n) { return n == lettre; });
}
} // namespace

std::string_view combinerNotes(RegleComposee regle, std::span<const std::string_view> notes)
{
    if (toutes(notes, "A"))
        return "A";
    switch (regle) {
    case RegleComposee::Toilette:
    case RegleComposee::Habillage:
        // "C" only when every part is "C".
        return toutes(notes, "C") ? "C" : "B";
    case RegleComposee::Elimination:
    case RegleComposee::Orientation:
    case RegleComposee::Coherence:
        // One "C" is enough.
        return une(notes, "C") ? "C" : "B";
    case RegleComposee::Alimentation:
        // One "A" is enough for "B".
        if (une(notes, "A") || toutes(notes, "B"))
            return "B";
        return "C";
    case RegleComposee::Aucune:
        break;
    }
    // A variable without sub-variables has its one row's note.
    return notes.empty() ? std::string_view{} : notes.front();
}

} // namespace pavonis
