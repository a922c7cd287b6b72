#pragma once

#include <QGroupBox>

namespace pavonis {

// A frame whose caption sits on its top border, which the caption
// interrupts, as on the form the screen was drawn from; the platform's
// group box draws it above the border instead.
class CadreLegende final : public QGroupBox {
    Q_OBJECT
public:
    explicit CadreLegende(const QString& legende, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace pavonis
