#pragma once

#include <pavonis/presentation/PageTwips.h>

#include <QFont>
#include <QFontMetricsF>
#include <QPointF>

#include <optional>

class QColor;
class QPainter;

namespace pavonis::impression {

// The page on a Qt painter: texts measured and drawn with Qt's fonts, lines
// and boxes with its pens. The back ends (a printer, a PDF file, an image,
// any painter) only provide the painter.
class PagePeinte : public PageTwips {
public:
    // The font text is drawn with, its size in twips.
    QFont qfont() const;
    static QColor couleurQt(std::uint32_t rgb);

protected:
    PagePeinte() = default;

    // The back end's painter, active, with the twip scale installed.
    virtual QPainter& peintre() = 0;
    // The one place where twips become device units: a back end calls it on
    // its painter once painting has begun, with the origin of the printable
    // area in twips from the device's origin.
    void preparerPeintre(QPainter& peintre, QPointF origineTwips);

    Mesures mesures(const Police& police) const override;
    double largeur(const Police& police, std::string_view texte) const override;
    void dessinerTexte(float x, float y, std::string_view texte) override;
    void dessinerLigne(float x1, float y1, float x2, float y2) override;
    void dessinerBoite(float x1, float y1, float x2, float y2, std::uint32_t couleur, Boite boite) override;

    const QFontMetricsF& metriques(const Police& police) const;

private:
    double largeurTrait_ = 4.8;
    // The last font asked for, and its metrics: a page uses few fonts in turn.
    mutable std::optional<Police> policeMesuree_;
    mutable std::optional<QFont> qfont_;
    mutable std::optional<QFontMetricsF> metriques_;
};

} // namespace pavonis::impression
