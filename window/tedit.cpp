#include "window/tedit.h"

#include <QFocusEvent>

namespace tolvaro {

namespace {

bool IsWindowSwitch(const QFocusEvent* event) {
    return event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason;
}

// Runs a change of the edit's selection without the selection events it would send: those reach a
// screen reader before the focus does, and it reads the selected text once for the selection and
// once more with the field (and "not selected" for the field left). It reads the selection with
// the focus all the same. The events come from the edit's text engine, its one QObject child of
// that class; should a Qt release lack it, the events are sent as before.
template <class Change>
void WithoutSelectionEvents(QLineEdit* edit, Change change) {
    QObject* engine = nullptr;
    for (QObject* child : edit->children()) {
        if (qstrcmp(child->metaObject()->className(), "QWidgetLineControl") == 0) engine = child;
    }
    const bool wasBlocked = engine && engine->blockSignals(true);
    change();
    if (engine) engine->blockSignals(wasBlocked);
    edit->update();
}

}  // namespace

void TEdit::DropKeptSelection() {
    if (hasSelectedText() && !hasFocus()) WithoutSelectionEvents(this, [this] { deselect(); });
}

void TEdit::mousePressEvent(QMouseEvent* event) {
    clicks_.Pressed(event);
    QLineEdit::mousePressEvent(event);
}

void TEdit::mouseReleaseEvent(QMouseEvent* event) {
    // Told before the edit's own handling, as a click is handled before the edit acts on it.
    if (clicks_.Released(event, this)) emit clicked();
    QLineEdit::mouseReleaseEvent(event);
}

void TEdit::keyPressEvent(QKeyEvent* event) {
    if (IsEnter(event)) {
        emit enterPressed();
    } else {
        QLineEdit::keyPressEvent(event);
    }
}

void TEdit::focusInEvent(QFocusEvent* event) {
    // Entered also when the window's activation brings the focus (no entry handler runs then, but
    // leaving it is an exit all the same).
    entered_ = this;
    if (!IsWindowSwitch(event)) emit entered();
    WithoutSelectionEvents(this, [&] {
        QLineEdit::focusInEvent(event);
        if (selectOnFocus_ && event->reason() != Qt::MouseFocusReason) selectAll();
    });
}

void TEdit::focusOutEvent(QFocusEvent* event) {
    if (entered_ == this && !IsWindowSwitch(event)) {
        entered_ = nullptr;
        emit left();
    }
    const int start = selectionStart();
    const int length = selectionLength();
    WithoutSelectionEvents(this, [&] {
        QLineEdit::focusOutEvent(event);
        if (keepSelection_ && start >= 0 && !hasSelectedText()) setSelection(start, length);
    });
}

}  // namespace tolvaro
