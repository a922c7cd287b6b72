#pragma once

#include <pavonis/engine/GrilleAggir.h>
#include <pavonis/engine/ISurfaceGrille.h>

#include <array>
#include <memory>
#include <vector>

class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace pavonis {

class EcranPavonis;

// The engine's view of the real widgets: option buttons, check boxes and
// text boxes of the screen. Programmatic changes raise no click (the rule is
// the same either way).
class SurfaceGrilleWidgets final : public ISurfaceGrille {
public:
    explicit SurfaceGrilleWidgets(const EcranPavonis& ecran);
    ~SurfaceGrilleWidgets() override;

    ControlesLigne controlesLigne(std::size_t ligne) override;
    IZoneTexte& noteVariable(int numero) override;
    IZoneTexte& zoneGroupe() override;
    IZoneTexte& zoneSousGroupe() override;

private:
    struct Option;
    struct Case;
    struct Zone;
    struct Ligne;

    std::vector<std::unique_ptr<Ligne>> lignes_;
    std::array<Zone*, grille::kNbVariables> notesVariables_{};
    std::vector<std::unique_ptr<Zone>> zones_;
    Zone* groupe_ = nullptr;
    Zone* sousGroupe_ = nullptr;
};

} // namespace pavonis
