#include "CadreLegende.h"

#include <QPainter>

namespace pavonis {

CadreLegende::CadreLegende(const QString& legende, QWidget* parent) : QGroupBox(legende, parent) {}

void CadreLegende::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QFontMetrics m(font());
    // The border runs through the middle of the caption's line (the
    // platform's frame primitive would start below the caption).
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(palette().color(QPalette::Mid));
    p.drawRoundedRect(QRectF(rect()).adjusted(0.5, m.height() / 2 + 0.5, -0.5, -0.5), 2, 2);
    p.setRenderHint(QPainter::Antialiasing, false);
    const int marge = m.averageCharWidth() / 2;
    const QRect legende(m.averageCharWidth() + marge, 0, m.horizontalAdvance(title()) + 2 * marge,
                        m.height());
    p.fillRect(legende, palette().brush(backgroundRole()));
    p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    p.drawText(legende, Qt::AlignCenter | Qt::TextSingleLine, title());
}

} // namespace pavonis
