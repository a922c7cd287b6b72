#pragma once

#include <QLabel>
#include <QList>

namespace pavonis {

// The caption above a column of the grid ("  Variables discriminantes ...
// Fait    Ne fait pas       S ..."): its column words are drawn centred over
// their columns. The caption counts on the spaces of the form's original
// font to place them; no font of this platform has spaces of that width.
// The text stays the caption as written, for whoever reads it.
class EnteteColonnes final : public QLabel {
    Q_OBJECT
public:
    explicit EnteteColonnes(QWidget* parent = nullptr);

    struct Mot {
        QString texte;
        double centre; // in this label's coordinates
    };
    // Words of the caption to centre; the text before the first one is
    // drawn where the caption puts it.
    void centrerMots(const QList<Mot>& mots);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QList<Mot> mots_;
};

} // namespace pavonis
