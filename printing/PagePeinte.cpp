#include <pavonis/printing/PagePeinte.h>

#include <pavonis/presentation/FeuilleA4.h>

#include <QColor>
#include <QPaintDevice>
#include <QPainter>
#include <QPen>

#include <algorithm>
#include <cmath>

namespace pavonis::impression {

namespace {
// The printer's default thin pen: one dot at 300 dpi, and never thinner
// than one dot of the device, so that it shows on a low-resolution image.
constexpr double kTraitFinTwips = FeuilleA4::kTwipsParPouce / 300.0;
// A point is 20 twips.
constexpr double kTwipsParPoint = 20.0;

QString qs(std::string_view s)
{
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}
} // namespace

QColor PagePeinte::couleurQt(std::uint32_t rgb)
{
    return QColor(int(rgb & 0xFFu), int((rgb >> 8) & 0xFFu), int((rgb >> 16) & 0xFFu));
}

const QFontMetricsF& PagePeinte::metriques(const Police& p) const
{
    if (policeMesuree_ != p) {
        // Sized in twips, so that the metrics come out in twips whatever the
        // device and are the same on paper, in a PDF and on an image.
        QFont f(qs(p.famille));
        f.setPixelSize(std::max(1, int(std::lround(double(p.points) * kTwipsParPoint))));
        f.setBold(p.gras);
        f.setItalic(p.italique);
        f.setHintingPreference(QFont::PreferNoHinting);
        f.setKerning(false);
        qfont_ = f;
        metriques_.emplace(f);
        policeMesuree_ = p;
    }
    return *metriques_;
}

QFont PagePeinte::qfont() const
{
    metriques(police());
    return *qfont_;
}

Mesures PagePeinte::mesures(const Police& p) const
{
    const QFontMetricsF& m = metriques(p);
    return {m.ascent(), m.lineSpacing()};
}

double PagePeinte::largeur(const Police& p, std::string_view texte) const
{
    return metriques(p).horizontalAdvance(qs(texte));
}

void PagePeinte::preparerPeintre(QPainter& p, QPointF origineTwips)
{
    const QPaintDevice* d = p.device();
    const double sx = d->logicalDpiX() / FeuilleA4::kTwipsParPouce;
    const double sy = d->logicalDpiY() / FeuilleA4::kTwipsParPouce;
    p.setWorldTransform(QTransform::fromScale(sx, sy).translate(origineTwips.x(), origineTwips.y()), true);
    largeurTrait_ = std::max(kTraitFinTwips, 1.0 / std::min(sx, sy));
    // Crisp lines and boxes as on paper; smooth text.
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, true);
}

void PagePeinte::dessinerTexte(float x, float y, std::string_view texte)
{
    QPainter& p = peintre();
    p.setFont(qfont());
    p.setPen(couleurQt(ForeColor()));
    p.drawText(QPointF(x, double(y) + metriques(police()).ascent()), qs(texte));
}

void PagePeinte::dessinerLigne(float x1, float y1, float x2, float y2)
{
    QPainter& p = peintre();
    p.setPen(QPen(couleurQt(ForeColor()), largeurTrait_, Qt::SolidLine, Qt::SquareCap));
    p.drawLine(QPointF(x1, y1), QPointF(x2, y2));
}

void PagePeinte::dessinerBoite(float x1, float y1, float x2, float y2, std::uint32_t couleur, Boite boite)
{
    QPainter& p = peintre();
    const QRectF r = QRectF(QPointF(x1, y1), QPointF(x2, y2)).normalized();
    if (boite == Boite::Pleine) {
        // The border is part of the box: paint out to the pen's outer edge.
        const double d = largeurTrait_ / 2;
        p.fillRect(r.adjusted(-d, -d, d, d), couleurQt(couleur));
    } else {
        p.setPen(QPen(couleurQt(couleur), largeurTrait_, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        p.setBrush(Qt::NoBrush);
        p.drawRect(r);
    }
}

} // namespace pavonis::impression
