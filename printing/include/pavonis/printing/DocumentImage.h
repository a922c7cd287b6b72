#pragma once

#include <pavonis/printing/PagePeinte.h>

#include <QImage>
#include <QPainter>

namespace pavonis::impression {

// One A4 page as an image, white, for previews and tests.
class DocumentImage final : public PagePeinte {
public:
    explicit DocumentImage(double pointsParPouce = 150.0);
    ~DocumentImage() override;

    // An image holds one page: throws pavonis::Erreur.
    void nouvellePage() override;
    void EndDoc() override;

    double pointsParPouce() const { return ppp_; }
    // The page; complete once EndDoc has run.
    const QImage& image() const { return image_; }

protected:
    QPainter& peintre() override;

private:
    double ppp_;
    QImage image_;
    QPainter peintre_;
};

} // namespace pavonis::impression
