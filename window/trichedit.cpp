#include "window/trichedit.h"

#include <QMouseEvent>
#include <QScrollBar>
#include <QTextCursor>

namespace tolvaro {

TRichEdit::TRichEdit(QWidget* parent) : QTextEdit(parent) {
    setAcceptDrops(false);
    viewport()->setAcceptDrops(false);
}

// A press on the selection would prepare a drag. Letting go of the selection first makes every
// press start a new selection, as a press beside it does anyway; Shift still extends it.
void TRichEdit::mousePressEvent(QMouseEvent* event) {
    QTextCursor cursor = textCursor();
    if (event->button() == Qt::LeftButton && !(event->modifiers() & Qt::ShiftModifier) && cursor.hasSelection()) {
        const int scrolled = verticalScrollBar()->value();
        cursor.clearSelection();
        setTextCursor(cursor);
        verticalScrollBar()->setValue(scrolled);
    }
    QTextEdit::mousePressEvent(event);
}

}  // namespace tolvaro
