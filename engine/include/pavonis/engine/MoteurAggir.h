#pragma once

#include <pavonis/engine/ISurfaceGrille.h>
#include <pavonis/engine/TablesGroupes.h>

#include <pavonis/hostapi/IEntreeParametre.h>
#include <pavonis/hostapi/Objet.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace pavonis {

// The evaluation engine: the row rule, the composite notes and the GIR. It
// keeps no evaluation state: it reads the controls of a surface when it runs
// and writes its results back into them.
class MoteurAggir {
public:
    // `tables`: the instance's group weight tables. `tablePoids`: the working
    // weight table, one per thread, replaced at every score computation.
    // `creerEntree`: creates a fresh host parameter entry.
    MoteurAggir(ISurfaceGrille& surface, const TablesGroupes& tables,
                std::shared_ptr<IEntreeParametre>& tablePoids, FabriqueEntree creerEntree);

    // The row rule, then the composite notes and the GIR. The only writer of
    // a row's note.
    void CalculerNote(IOption& fait, IOption& faitPas, ICaseACocher& c, ICaseACocher& h, ICaseACocher& s,
                      ICaseACocher& t, IZoneTexte& note);
    void CalculerNote(std::size_t ligne);

    // Rewrites the six composite notes from their rows' notes.
    void CalculerNotesComposees();

    // Rewrites the GIR and its sub-group. On failure (missing table,
    // overflow) raises Erreur and leaves both boxes as they were.
    void CalculerGir();

    // Score of group "A".."H" from the ten discriminant notes.
    std::int32_t CalculerScoreGroupe(char groupe);

private:
    // The ten discriminant notes, in weight-table row order: 1 for "B", 2 for
    // "C", 0 for anything else. A run reads them once: nothing can change
    // them while it lasts.
    using Notes = std::array<std::uint8_t, 10>;
    Notes lireNotes();
    std::int32_t scoreGroupe(char groupe, const Notes& notes);

    ISurfaceGrille& surface_;
    const TablesGroupes& tables_;
    std::shared_ptr<IEntreeParametre>& tablePoids_;
    FabriqueEntree creerEntree_;
};

} // namespace pavonis
