#pragma once

#include <pavonis/presentation/PageTwips.h>

#include <cstdint>
#include <string>
#include <vector>

namespace pavonis::impression {

// A page that keeps what is drawn on it, measured as the desktop measures
// (Arial's metrics, without a toolkit): the browser draws the report from it.
class PageEnregistree final : public PageTwips {
public:
    struct Operation {
        enum class Genre { Texte, Ligne, Boite } genre;
        float x1, y1, x2, y2; // a text: its cell's top-left corner in (x1, y1)
        std::uint32_t couleur;
        Boite boite = Boite::Contour;
        std::string texte;
        Police police;
        double ascendante = 0.0; // a text's baseline is this far below its top
    };

    PageEnregistree() = default;

    const std::vector<Operation>& operations() const { return operations_; }
    int pages() const { return pages_; }

    void nouvellePage() override { ++pages_; }
    void EndDoc() override {}

protected:
    Mesures mesures(const Police& police) const override;
    double largeur(const Police& police, std::string_view texte) const override;
    void dessinerTexte(float x, float y, std::string_view texte) override;
    void dessinerLigne(float x1, float y1, float x2, float y2) override;
    void dessinerBoite(float x1, float y1, float x2, float y2, std::uint32_t couleur, Boite boite) override;

private:
    std::vector<Operation> operations_;
    int pages_ = 1;
};

} // namespace pavonis::impression
