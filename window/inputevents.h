// Small helpers of the widgets that tell their events: a click, and the Enter key.
#pragma once

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

namespace tolvaro {

// Enter, or the keypad's; with Ctrl or Alt held it is another key (a control's key), with Shift it
// is Enter.
bool IsEnter(const QKeyEvent* event);

// A left-button press and release inside a widget, as a click of it.
class ClickTracker {
public:
    void Pressed(QMouseEvent* event);
    // True for the release that ends a click of `widget` (shown and enabled).
    bool Released(QMouseEvent* event, const QWidget* widget);

private:
    bool pressed_ = false;
};

}  // namespace tolvaro
