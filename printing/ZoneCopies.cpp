#include "ZoneCopies.h"

#include <QKeyEvent>

namespace pavonis::impression {

ZoneCopies::ZoneCopies(QWidget* parent) : QLineEdit(parent)
{
    setMaxLength(2);
    setContextMenuPolicy(Qt::NoContextMenu);
    setAcceptDrops(false);
    setAttribute(Qt::WA_InputMethodEnabled, false);
}

bool ZoneCopies::caractereAccepte(QChar c, const QString& contenu)
{
    if (c == QChar(8))
        return true;
    const char16_t u = c.unicode();
    return contenu.isEmpty() ? (u >= u'1' && u <= u'9') : (u >= u'0' && u <= u'9');
}

void ZoneCopies::keyPressEvent(QKeyEvent* e)
{
    if (e->matches(QKeySequence::Paste)) {
        e->accept();
        return;
    }
    // Shortcuts (copy, select all, undo) and Delete (which carries U+007F
    // on some systems) are not typed characters.
    const bool raccourci =
        (e->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) || e->key() == Qt::Key_Delete;
    const QString texte = e->text();
    if (!raccourci && texte.size() == 1 && !caractereAccepte(texte.front(), text())) {
        e->accept();
        return;
    }
    QLineEdit::keyPressEvent(e);
}

} // namespace pavonis::impression
