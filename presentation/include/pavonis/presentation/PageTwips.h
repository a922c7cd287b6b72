#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace pavonis::impression {

// How a text is drawn.
struct Police {
    std::string famille = "Arial";
    float points = 10.0f;
    bool gras = false;
    bool italique = false;

    friend bool operator==(const Police&, const Police&) = default;
};

// What a font measures, in twips: from the top of a line to the baseline,
// and from one line to the next.
struct Mesures {
    double ascendante = 0.0;
    double interligne = 0.0;
};

// A page drawn the way the report describes it: a pen position, a font and a
// fore colour; text runs, plain lines and filled or outlined boxes; every
// coordinate in twips (1/1440 inch) from the top-left corner of the
// printable area. The drawing rules are this one class, without a toolkit;
// a back end (a printer, a PDF file, an image, the browser's page) measures
// texts and draws what it is handed.
class PageTwips {
public:
    // How a Print leaves the pen: after the text on the same line, or at the
    // start of the next line.
    enum class Suite { SurLaLigne, FinDeLigne };
    enum class Boite { Contour, Pleine };

    // Colours are 24-bit RGB with red in the low byte.
    static constexpr std::uint32_t kNoir = 0x000000;
    static constexpr std::uint32_t kBlanc = 0xFFFFFF;
    static constexpr std::uint32_t kRouge = 0x0000FF;

    PageTwips(const PageTwips&) = delete;
    PageTwips& operator=(const PageTwips&) = delete;
    virtual ~PageTwips();

    // The printer's drawing members.
    void FontName(std::string_view famille) { police_.famille = famille; }
    const std::string& FontName() const { return police_.famille; }
    void FontSize(float points) { police_.points = points; }
    float FontSize() const { return police_.points; }
    void FontBold(bool gras) { police_.gras = gras; }
    bool FontBold() const { return police_.gras; }
    void FontItalic(bool italique) { police_.italique = italique; }
    bool FontItalic() const { return police_.italique; }
    void ForeColor(std::uint32_t rgb) { couleur_ = rgb & 0xFFFFFFu; }
    std::uint32_t ForeColor() const { return couleur_; }
    void CurrentX(float x) { x_ = x; }
    float CurrentX() const { return x_; }
    void CurrentY(float y) { y_ = y; }
    float CurrentY() const { return y_; }

    // An empty print: the pen goes to the start of the next line.
    void Print();
    // The text's cell has its top-left corner at the pen.
    void Print(std::string_view texte, Suite suite);
    // A plain line in the fore colour.
    void Line(float x1, float y1, float x2, float y2);
    // A box in the given colour. Both leave the pen at (x2, y2).
    void Line(float x1, float y1, float x2, float y2, std::uint32_t couleur, Boite boite);

    const Police& police() const { return police_; }
    // Natural line height of the current font (ascent, descent and leading).
    float hauteurTexte() const;
    float largeurTexte(std::string_view texte) const;
    // The text cut at its end with "…" so that it is at most `largeur` wide.
    std::string texteCoupe(std::string_view texte, float largeur) const;

    virtual void nouvellePage() = 0;
    // Ends the document. Errors are pavonis::Erreur with a French message.
    virtual void EndDoc() = 0;

protected:
    PageTwips() = default;

    // What the back end measures, for a font.
    virtual Mesures mesures(const Police& police) const = 0;
    virtual double largeur(const Police& police, std::string_view texte) const = 0;
    // What reaches the back end once the page's own state (pen, font,
    // colour) is applied: a text run with its cell's top-left corner at
    // (x, y), a plain line in the fore colour, a box.
    virtual void dessinerTexte(float x, float y, std::string_view texte) = 0;
    virtual void dessinerLigne(float x1, float y1, float x2, float y2) = 0;
    virtual void dessinerBoite(float x1, float y1, float x2, float y2, std::uint32_t couleur,
                               Boite boite) = 0;

private:
    Police police_;
    std::uint32_t couleur_ = kNoir;
    float x_ = 0.0f;
    float y_ = 0.0f;
};

} // namespace pavonis::impression
