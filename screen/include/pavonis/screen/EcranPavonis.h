#pragma once

#include <pavonis/presentation/DescriptionControle.h>

#include <QHash>
#include <QString>

#include <string_view>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QWidget;

namespace pavonis {

class NavigateurAide;

// Builds the screen from its description under a surface widget, in
// creation order, and finds its controls by name afterwards. The widgets
// belong to the surface.
class EcranPavonis {
public:
    explicit EcranPavonis(QWidget& surface);

    QWidget* controle(std::string_view nom) const;
    QRadioButton* option(std::string_view nom) const;
    QCheckBox* caseACocher(std::string_view nom) const;
    QLineEdit* zone(std::string_view nom) const;
    QPushButton* bouton(std::string_view nom) const;
    QLabel* etiquette(std::string_view nom) const;
    QScrollBar* barre() const;
    NavigateurAide* navigateur() const;

    // Where a control is, in twips within its container. The twips are the
    // reference: pixels are derived from them, never read back.
    // Name of the dynamic property that carries each control's place in
    // twips (a QRect: left, top, width, height).
    static constexpr const char* kProprieteTwips = "twips";

    struct Position {
        int gauche, haut, largeur, hauteur;
        friend bool operator==(const Position&, const Position&) = default;
    };
    Position position(const QWidget* w) const;
    void placer(QWidget* w, const Position& p);

    // Centres each word of the two heading captions ("Fait", "Ne fait pas",
    // "S"...) over its column, for the current fonts, style and screen.
    void alignerEntetes();

private:
    QWidget* creer(const DescriptionControle& d, QWidget* parent);
    template <class T> T* type(std::string_view nom) const;

    QHash<QString, QWidget*> controles_;
    QHash<const QWidget*, Position> positions_;
};

} // namespace pavonis
