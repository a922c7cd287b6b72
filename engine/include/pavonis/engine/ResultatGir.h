#pragma once

namespace pavonis {

// A GIR (1 to 6) and its sub-group: 'A', 'B' or 'C' for GIR 5 and 6, '\0'
// for GIR 1 to 4.
struct ResultatGir {
    int gir = 0;
    char sousGroupe = '\0';

    friend bool operator==(const ResultatGir&, const ResultatGir&) = default;
};

} // namespace pavonis
