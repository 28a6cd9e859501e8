#include "window/inputevents.h"


namespace tolvaro {

bool IsEnter(const QKeyEvent* event) {
    return (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
           !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
}

void ClickTracker::Pressed(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) pressed_ = true;
}

bool ClickTracker::Released(QMouseEvent* event, const QWidget* widget) {
    const bool click = event->button() == Qt::LeftButton && pressed_ &&
                       widget->rect().contains(event->position().toPoint());
    if (event->button() == Qt::LeftButton) pressed_ = false;
    return click && widget->isEnabled() && widget->isVisible();
}

}  // namespace tolvaro
