#pragma once

#include <pavonis/printing/PagePeinte.h>

class QPainter;

namespace pavonis::impression {

// A page drawn with someone else's painter (a preview widget, a thumbnail):
// the painter's current origin is the top-left of the printable area. The
// painter's state is restored when this object goes.
class PagePeintre final : public PagePeinte {
public:
    explicit PagePeintre(QPainter& peintre);
    ~PagePeintre() override;

    // The painter's owner decides about pages and the end of its document.
    void nouvellePage() override {}
    void EndDoc() override {}

protected:
    QPainter& peintre() override;

private:
    QPainter& peintre_;
};

} // namespace pavonis::impression
