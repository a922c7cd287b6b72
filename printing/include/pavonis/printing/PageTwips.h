#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QPointF>
#include <QString>

#include <optional>

class QPainter;

namespace pavonis::plateforme {

// A page drawn the way the report describes it: a pen position, a font and a
// fore colour; text runs, plain lines and filled or outlined boxes; every
// coordinate in twips (1/1440 inch) from the top-left corner of the
// printable area. The back ends (a printer, a PDF file, an image, any
// painter) only provide a QPainter: the drawing itself is this one class.
class PageTwips {
public:
    // How a Print leaves the pen: after the text on the same line, or at the
    // start of the next line.
    enum class Suite { SurLaLigne, FinDeLigne };
    enum class Boite { Contour, Pleine };

    // Colours are 24-bit RGB with red in the low byte.
    static constexpr quint32 kNoir = 0x000000;
    static constexpr quint32 kBlanc = 0xFFFFFF;
    static constexpr quint32 kRouge = 0x0000FF;

    PageTwips(const PageTwips&) = delete;
    PageTwips& operator=(const PageTwips&) = delete;
    virtual ~PageTwips();

    void FontName(const QString& famille);
    QString FontName() const { return famille_; }
    void FontSize(float points);
    float FontSize() const { return points_; }
    void FontBold(bool gras);
    bool FontBold() const { return gras_; }
    void FontItalic(bool italique);
    bool FontItalic() const { return italique_; }
    void ForeColor(quint32 rgb) { couleur_ = rgb & 0xFFFFFFu; }
    quint32 ForeColor() const { return couleur_; }
    void CurrentX(float x) { x_ = x; }
    float CurrentX() const { return x_; }
    void CurrentY(float y) { y_ = y; }
    float CurrentY() const { return y_; }

    // An empty print: the pen goes to the start of the next line.
    void Print();
    // The text's cell has its top-left corner at the pen.
    void Print(const QString& texte, Suite suite);
    // A plain line in the fore colour.
    void Line(float x1, float y1, float x2, float y2);
    // A box in the given colour. Both leave the pen at (x2, y2).
    void Line(float x1, float y1, float x2, float y2, quint32 couleur, Boite boite);

    // Natural line height of the current font (ascent, descent and leading).
    float TextHeight() const;
    float TextWidth(const QString& texte) const;
    // The text cut at its end with "…" so that it is at most `largeur` wide.
    QString TexteCoupe(const QString& texte, float largeur) const;
    // The font text is drawn with, its size in twips.
    QFont police() const;

    virtual void NewPage() = 0;
    // Ends the document. Errors are pavonis::Erreur with a French message.
    virtual void EndDoc() = 0;

    static QColor couleurQt(quint32 rgb);

protected:
    PageTwips();
    // The back end's painter, active, with the twip scale installed.
    virtual QPainter& peintre() = 0;

    // What reaches the back end, once the page's own state (pen, font,
    // colour) has been applied: a text run with its cell's top-left corner
    // at (x, y), a plain line, a box. A back end that records the drawing
    // instead of painting it overrides these.
    virtual void dessinerTexte(float x, float y, const QString& texte);
    virtual void dessinerLigne(float x1, float y1, float x2, float y2);
    virtual void dessinerBoite(float x1, float y1, float x2, float y2, quint32 couleur, Boite boite);
    // The one place where twips become device units: a back end calls it on
    // its painter once painting has begun, with the origin of the
    // printable area in twips from the device's origin.
    void preparerPeintre(QPainter& peintre, QPointF origineTwips);

private:
    void changerPolice();
    const QFont& policeCourante() const;
    const QFontMetricsF& metriques() const;

    QString famille_ = QStringLiteral("Arial");
    float points_ = 10.0f;
    bool gras_ = false;
    bool italique_ = false;
    quint32 couleur_ = kNoir;
    float x_ = 0.0f;
    float y_ = 0.0f;
    double largeurTrait_ = 4.8;
    mutable std::optional<QFont> police_;
    mutable std::optional<QFontMetricsF> metriques_;
};

} // namespace pavonis::plateforme
