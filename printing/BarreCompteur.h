#pragma once

#include <QScrollBar>

namespace pavonis::impression {

// A small vertical scroll bar used as a spinner: its top end is the highest
// value and its upper arrow counts up (the Up key and the wheel too).
class BarreCompteur : public QScrollBar {
    Q_OBJECT

public:
    BarreCompteur(int minimum, int maximum, QWidget* parent = nullptr);
};

} // namespace pavonis::impression
