#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace pavonis {

// The four adverbs of a row, in screen order. A ticked box means the
// condition is not met.
enum class Adverbe : std::size_t { S, T, C, H };

struct DescriptionAdverbe {
    Adverbe adverbe;
    char lettre;
    std::string_view nom;        // as the legend and FHIR say it
    std::string_view definition; // what the evaluator checks
};

// Every place that writes, reads, shows or prints an adverb takes it from here.
inline constexpr std::array<DescriptionAdverbe, 4> kAdverbes{{
    {Adverbe::S, 'S', "Spontanément", "sans incitation ni stimulation"},
    {Adverbe::T, 'T', "Totalement", "l'ensemble de l'activité"},
    {Adverbe::C, 'C', "Correctement", "conformément aux usages, de façon adaptée"},
    {Adverbe::H, 'H', "Habituellement", "chaque fois que nécessaire, tous les jours"},
}};

// The index of the adverb of that letter (0 for 'S'... 3 for 'H').
constexpr std::optional<std::size_t> indexAdverbe(char lettre)
{
    for (std::size_t i = 0; i < kAdverbes.size(); ++i)
        if (kAdverbes[i].lettre == lettre)
            return i;
    return std::nullopt;
}

} // namespace pavonis
