#pragma once

#include <string>
#include <string_view>

namespace pavonis::json {

// Appends `texte` (UTF-8) as a JSON string, quotes included.
inline void ajouterTexte(std::string& sortie, std::string_view texte)
{
    static constexpr char kHex[] = "0123456789abcdef";
    sortie += '"';
    for (const char c : texte) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            sortie += '\\';
            sortie += c;
        } else if (u < 0x20) {
            sortie += "\\u00";
            sortie += kHex[u >> 4];
            sortie += kHex[u & 0xF];
        } else {
            sortie += c;
        }
    }
    sortie += '"';
}

} // namespace pavonis::json
