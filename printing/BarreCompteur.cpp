#include "BarreCompteur.h"

#include <QProxyStyle>
#include <QStyleOptionSlider>

namespace pavonis::impression {

namespace {

// Qt's scroll bar maps its upper arrow to "step down" even when its values
// run bottom to top; with the values upside down we swap the arrows (and
// the page areas) in hit testing and in the pressed/hover look, so the arrow
// pointing up moves the thumb up and the value up.
QStyle::SubControls permuter(QStyle::SubControls sc)
{
    QStyle::SubControls r = sc & ~(QStyle::SC_ScrollBarAddLine | QStyle::SC_ScrollBarSubLine |
                                   QStyle::SC_ScrollBarAddPage | QStyle::SC_ScrollBarSubPage);
    if (sc & QStyle::SC_ScrollBarAddLine)
        r |= QStyle::SC_ScrollBarSubLine;
    if (sc & QStyle::SC_ScrollBarSubLine)
        r |= QStyle::SC_ScrollBarAddLine;
    if (sc & QStyle::SC_ScrollBarAddPage)
        r |= QStyle::SC_ScrollBarSubPage;
    if (sc & QStyle::SC_ScrollBarSubPage)
        r |= QStyle::SC_ScrollBarAddPage;
    return r;
}

class StyleCompteur : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    SubControl hitTestComplexControl(ComplexControl cc, const QStyleOptionComplex* opt, const QPoint& pos,
                                     const QWidget* w) const override
    {
        const SubControl sc = QProxyStyle::hitTestComplexControl(cc, opt, pos, w);
        const auto* s = qstyleoption_cast<const QStyleOptionSlider*>(opt);
        if (cc != CC_ScrollBar || !s || !s->upsideDown)
            return sc;
        return SubControl(int(permuter(sc)));
    }

    void drawComplexControl(ComplexControl cc, const QStyleOptionComplex* opt, QPainter* p,
                            const QWidget* w) const override
    {
        const auto* s = qstyleoption_cast<const QStyleOptionSlider*>(opt);
        if (cc != CC_ScrollBar || !s || !s->upsideDown) {
            QProxyStyle::drawComplexControl(cc, opt, p, w);
            return;
        }
        QStyleOptionSlider inverse(*s);
        inverse.activeSubControls = permuter(s->activeSubControls);
        QProxyStyle::drawComplexControl(cc, &inverse, p, w);
    }
};

} // namespace

BarreCompteur::BarreCompteur(int minimum, int maximum, QWidget* parent) : QScrollBar(Qt::Vertical, parent)
{
    auto* style = new StyleCompteur();
    style->setParent(this);
    setStyle(style);
    setRange(minimum, maximum);
    setSingleStep(1);
    setPageStep(1);
    setInvertedAppearance(true);
    // A scroll bar's Up key steps down by default; a counter's steps up.
    setInvertedControls(false);
    setFocusPolicy(Qt::StrongFocus);
    setValue(minimum);
}

} // namespace pavonis::impression
