#include "EnteteColonnes.h"

#include <QPainter>

namespace pavonis {

EnteteColonnes::EnteteColonnes(QWidget* parent) : QLabel(parent) {}

void EnteteColonnes::centrerMots(const QList<Mot>& mots)
{
    mots_ = mots;
    update();
}

void EnteteColonnes::paintEvent(QPaintEvent* event)
{
    const qsizetype premier = mots_.isEmpty() ? -1 : text().indexOf(mots_.front().texte);
    if (premier < 0) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter p(this);
    p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    const QFontMetricsF m(font());
    const QRectF zone = contentsRect();
    const double ligne = zone.top() + m.ascent();
    p.drawText(QPointF(zone.left(), ligne), text().left(premier));
    for (const Mot& mot : mots_)
        p.drawText(QPointF(mot.centre - m.horizontalAdvance(mot.texte) / 2, ligne), mot.texte);
}

} // namespace pavonis
