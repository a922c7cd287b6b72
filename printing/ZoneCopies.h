#pragma once

#include <QLineEdit>

namespace pavonis::impression {

// The copies box: two characters at most, digits only, no leading zero typed
// into an empty box, so typing always gives 1 to 99. Backspace, Delete and
// the caret keys work as usual; pasting is refused since it would bypass
// the rule.
class ZoneCopies : public QLineEdit {
    Q_OBJECT

public:
    explicit ZoneCopies(QWidget* parent = nullptr);

    // The rule on one typed character, looking at the whole box.
    static bool caractereAccepte(QChar c, const QString& contenu);

protected:
    void keyPressEvent(QKeyEvent* e) override;
};

} // namespace pavonis::impression
