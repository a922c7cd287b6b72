#pragma once

#include <pavonis/engine/VariableAggir.h>

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace pavonis::impression {

// The A4 evaluation report as data: fixed positions in twips (the design
// values are centimetres times 567), the fixed texts, and the printed
// variables in print order, taken from the engine's table of the grid (their
// labels and control names live there and only there).
struct MiseEnPageRapport {
    // One step of the lines of a variable.
    enum class Etape : std::uint8_t {
        Libelle,      // the variable's label at x 0, bold for a discriminant variable
        SousLibelle,  // the label of sub-variable `ligne`, on the line
        Ligne,        // the five boxes and the note of row `ligne`, on the line
        NoteVariable, // the variable's note in red, with line end
        Vide,         // an empty print
    };
    struct Pas {
        Etape etape;
        std::uint8_t ligne;
    };
    struct Cadre {
        float x1, y1, x2, y2;
    };
    struct Texte {
        float x;
        std::string_view texte;
        bool finDeLigne;
    };
    struct LigneLegende {
        float x;
        std::string_view texte; // empty: an empty print
        bool gras;
    };
    struct VariableImprimee {
        const VariableAggir* variable;
        float yNoteHaut, yNoteBas; // its note box
    };

    // Header.
    static constexpr std::string_view kBeneficiaire = " Bénéficiaire";
    static constexpr std::string_view kDateEvaluation = " Date d'évaluation";
    static constexpr std::string_view kEvaluateur = "Evaluateur";
    static constexpr float kXNomBeneficiaire = 1417.5f;
    static constexpr float kXEvaluateur = 6237.0f;
    static constexpr float kXDate = 1757.7f;
    static constexpr float kXNomEvaluateur = 7371.0f;

    // Body.
    static constexpr std::string_view kTitreDiscriminantes = " Variables discriminantes";
    static constexpr std::string_view kTitreIllustratives = " Variables illustratives";
    static constexpr std::array<Texte, 6> kEntetesColonnes{{
        {3742.2f, "NE FAIT", false},
        {4949.91f, "S", false},
        {5386.5f, "T", false},
        {5845.77f, "C", false},
        {6333.39f, "H", true},
        {3912.3f, "PAS", true},
    }};
    static constexpr float kXSousLibelle = 2154.6f;
    // Left edges of the boxes NE FAIT PAS, S, T, C, H.
    static constexpr std::array<float, 5> kXCases{4026.0f, 4933.0f, 5358.0f, 5812.0f, 6294.0f};
    static constexpr float kCoteCase = 200.0f;
    static constexpr float kXNoteLigne = 7087.5f;
    static constexpr float kXNoteVariable = 7597.8f;
    static constexpr float kXNoteGauche = 6974.1f;
    static constexpr float kXNoteDroite = 7824.6f;

    // The lines of a variable with one, two or three rows.
    static constexpr std::array<Pas, 4> kSimple{{
        {Etape::Libelle, 0},
        {Etape::Ligne, 0},
        {Etape::NoteVariable, 0},
        {Etape::Vide, 0},
    }};
    static constexpr std::array<Pas, 9> kDouble{{
        {Etape::Libelle, 0},
        {Etape::SousLibelle, 0},
        {Etape::Ligne, 0},
        {Etape::Vide, 0},
        {Etape::NoteVariable, 0},
        {Etape::SousLibelle, 1},
        {Etape::Ligne, 1},
        {Etape::Vide, 0},
        {Etape::Vide, 0},
    }};
    static constexpr std::array<Pas, 13> kTriple{{
        {Etape::Libelle, 0},
        {Etape::SousLibelle, 0},
        {Etape::Ligne, 0},
        {Etape::Vide, 0},
        {Etape::Vide, 0},
        {Etape::SousLibelle, 1},
        {Etape::Ligne, 1},
        {Etape::NoteVariable, 0},
        {Etape::Vide, 0},
        {Etape::SousLibelle, 2},
        {Etape::Ligne, 2},
        {Etape::Vide, 0},
        {Etape::Vide, 0},
    }};
    static std::span<const Pas> pas(std::size_t nbLignes);

    // The ten discriminant variables, then the seven illustrative ones.
    static std::span<const VariableImprimee> variables();

    // GIR block.
    static constexpr float kTailleGir = 24.0f;
    static constexpr std::string_view kGir = "GIR";
    static constexpr float kXGir = 9015.3f, kYGir = 4422.6f;
    static constexpr float kXGroupe = 9298.8f, kYGroupe = 4989.6f;
    static constexpr float kXSousGroupe = 9270.45f, kYSousGroupe = 5556.6f;
    static constexpr Cadre kCadreGir{7938.0f, 4252.5f, 10943.1f, 6407.1f};

    // Frames of the header, the discriminant and the illustrative sections.
    // Moved from the design's values so that no line touches a letter: the
    // header's top (0) and bottom (1247.4) clear accented capitals and
    // descenders of the names; the discriminant frame's bottom (10262.7)
    // clears the title " Variables illustratives".
    static constexpr std::array<Cadre, 3> kCadres{{
        {0.0f, -22.0f, 11056.5f, 1258.0f},
        {0.0f, 1757.7f, 11056.5f, 10225.0f},
        {0.0f, 10659.6f, 11056.5f, 14004.9f},
    }};
    // A name is cut with "…" this far from the header frame's right edge.
    static constexpr float kMargeNom = 30.0f;

    // Legend.
    static constexpr float kTailleLegende = 8.0f;
    static constexpr std::array<LigneLegende, 5> kLegende{{
        {3487.05f, "Ne fait pas : Il faut faire à la place, ou \"faire faire\", ou tout refaire", true},
        {2268.0f,
         "La case est noire (cochée) si la personne ne fait jamais seule, même partiellement, même "
         "difficilement",
         false},
        {0.0f, "", false},
        {2438.1f, "Fait même difficilement S- Spontanément T- Totalement C- Correctement H- Habituellement",
         true},
        {3487.05f, "La case est noire (cochée) quand les conditions ne sont pas remplies", false},
    }};

    // Page set-up.
    static constexpr std::string_view kPolice = "Arial";
    static constexpr float kTaille = 10.0f;
    static constexpr float kTailleNom = 11.0f;
};

} // namespace pavonis::impression
