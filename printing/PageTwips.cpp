#include <pavonis/printing/PageTwips.h>

#include <pavonis/printing/FeuilleA4.h>

#include <QPaintDevice>
#include <QPainter>
#include <QPen>

#include <algorithm>
#include <cmath>

namespace pavonis::plateforme {

namespace {
// The printer's default thin pen: one dot at 300 dpi, and never thinner
// than one dot of the device, so that it shows on a low-resolution image.
constexpr double kTraitFinTwips = FeuilleA4::kTwipsParPouce / 300.0;
// A point is 20 twips.
constexpr double kTwipsParPoint = 20.0;
} // namespace

PageTwips::PageTwips() = default;
PageTwips::~PageTwips() = default;

QColor PageTwips::couleurQt(quint32 rgb)
{
    return QColor(int(rgb & 0xFFu), int((rgb >> 8) & 0xFFu), int((rgb >> 16) & 0xFFu));
}

void PageTwips::changerPolice()
{
    police_.reset();
    metriques_.reset();
}

void PageTwips::FontName(const QString& famille)
{
    famille_ = famille;
    changerPolice();
}

void PageTwips::FontSize(float points)
{
    points_ = points;
    changerPolice();
}

void PageTwips::FontBold(bool gras)
{
    gras_ = gras;
    changerPolice();
}

void PageTwips::FontItalic(bool italique)
{
    italique_ = italique;
    changerPolice();
}

const QFont& PageTwips::policeCourante() const
{
    if (!police_) {
        // Sized in twips, so that the metrics come out in twips whatever the
        // device and are the same on paper, in a PDF and on an image.
        QFont f(famille_);
        f.setPixelSize(std::max(1, int(std::lround(double(points_) * kTwipsParPoint))));
        f.setBold(gras_);
        f.setItalic(italique_);
        f.setHintingPreference(QFont::PreferNoHinting);
        f.setKerning(false);
        police_ = f;
    }
    return *police_;
}

QFont PageTwips::police() const
{
    return policeCourante();
}

const QFontMetricsF& PageTwips::metriques() const
{
    if (!metriques_)
        metriques_.emplace(policeCourante());
    return *metriques_;
}

float PageTwips::TextHeight() const
{
    return float(metriques().lineSpacing());
}

float PageTwips::TextWidth(const QString& texte) const
{
    return float(metriques().horizontalAdvance(texte));
}

QString PageTwips::TexteCoupe(const QString& texte, float largeur) const
{
    return metriques().elidedText(texte, Qt::ElideRight, double(largeur));
}

void PageTwips::preparerPeintre(QPainter& p, QPointF origineTwips)
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

void PageTwips::Print()
{
    x_ = 0.0f;
    y_ += TextHeight();
}

void PageTwips::Print(const QString& texte, Suite suite)
{
    if (!texte.isEmpty())
        dessinerTexte(x_, y_, texte);
    if (suite == Suite::FinDeLigne)
        Print();
    else
        x_ += TextWidth(texte);
}

void PageTwips::Line(float x1, float y1, float x2, float y2)
{
    dessinerLigne(x1, y1, x2, y2);
    x_ = x2;
    y_ = y2;
}

void PageTwips::Line(float x1, float y1, float x2, float y2, quint32 couleur, Boite boite)
{
    dessinerBoite(x1, y1, x2, y2, couleur, boite);
    x_ = x2;
    y_ = y2;
}

void PageTwips::dessinerTexte(float x, float y, const QString& texte)
{
    QPainter& p = peintre();
    p.setFont(policeCourante());
    p.setPen(couleurQt(couleur_));
    p.drawText(QPointF(x, double(y) + metriques().ascent()), texte);
}

void PageTwips::dessinerLigne(float x1, float y1, float x2, float y2)
{
    QPainter& p = peintre();
    p.setPen(QPen(couleurQt(couleur_), largeurTrait_, Qt::SolidLine, Qt::SquareCap));
    p.drawLine(QPointF(x1, y1), QPointF(x2, y2));
}

void PageTwips::dessinerBoite(float x1, float y1, float x2, float y2, quint32 couleur, Boite boite)
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

} // namespace pavonis::plateforme
