#pragma once

#include <pavonis/engine/ICaseACocher.h>
#include <pavonis/engine/IOption.h>
#include <pavonis/engine/IZoneTexte.h>

#include <cstddef>

namespace pavonis {

// The seven controls of one evaluation row, in the order the rule takes them.
struct ControlesLigne {
    IOption& fait;
    IOption& faitPas;
    ICaseACocher& c;
    ICaseACocher& h;
    ICaseACocher& s;
    ICaseACocher& t;
    IZoneTexte& note;
};

// The controls of the grid as the engine reaches them: the real widgets of
// the screen, or an in-memory model.
class ISurfaceGrille {
public:
    virtual ~ISurfaceGrille() = default;
    virtual ControlesLigne controlesLigne(std::size_t ligne) = 0;
    // The note box holding the modality of variable `numero` (1-17): its
    // row's note, or its composite note.
    virtual IZoneTexte& noteVariable(int numero) = 0;
    virtual IZoneTexte& zoneGroupe() = 0;
    virtual IZoneTexte& zoneSousGroupe() = 0;
};

} // namespace pavonis
