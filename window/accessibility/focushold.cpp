#include "window/accessibility/focushold.h"

#include <QAccessible>
#include <QApplication>
#include <QWidget>

namespace tolvaro {

namespace {

FocusHold* current = nullptr;  // the hold whose handler is installed; Qt's handler is a plain function

}  // namespace

FocusHold::~FocusHold() { Uninstall(); }

bool FocusHold::Hidden(const QWidget* widget) { return current && current->Hides(widget); }

void FocusHold::Begin() {
    if (!QAccessible::isActive() || (current && current != this)) return;
    if (!installed_) QAccessible::installUpdateHandler(&FocusHold::Handle);
    current = this;
    installed_ = true;
    clicking_ = true;
    before_ = QApplication::focusWidget();
}

void FocusHold::EndClick() { clicking_ = false; }

void FocusHold::Release() {
    QWidget* held = held_;
    held_ = nullptr;
    clicking_ = false;
    Uninstall();
    if (held && held->hasFocus()) {
        QAccessibleEvent event(held, QAccessible::Focus);
        QAccessible::updateAccessibility(&event);
    }
}

void FocusHold::Uninstall() {
    if (!installed_) return;
    installed_ = false;
    if (current == this) current = nullptr;
    QAccessible::installUpdateHandler(nullptr);
}

// Every other event goes on to Qt's bridge as it came.
void FocusHold::Handle(QAccessibleEvent* event) {
    FocusHold* hold = current;
    if (hold && event->type() == QAccessible::Focus) {
        auto* widget = qobject_cast<QWidget*>(event->object());
        // A message box or dialog that the click opens is told at once; the held control told
        // again (the window taking the focus back) is still held.
        if (widget && ((hold->clicking_ && widget->window() == hold->window_) || widget == hold->held_)) {
            hold->held_ = widget;
            return;
        }
        // The pupil moved on before the click's message was out: that move counts, not the held one.
        if (!hold->clicking_) {
            hold->held_ = nullptr;
            hold->Uninstall();
        }
    }
    Forward(event);
}

void FocusHold::Forward(QAccessibleEvent* event) {
    const bool reinstall = current != nullptr;
    QAccessible::installUpdateHandler(nullptr);
    QAccessible::updateAccessibility(event);
    if (reinstall && current) QAccessible::installUpdateHandler(&FocusHold::Handle);
}

}  // namespace tolvaro
