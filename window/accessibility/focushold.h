// Holds back from assistive tools where the focus went during one key's click, until what the click
// has to say has been said. A key clicks its control as the mouse would and so moves the focus
// first; Orca 43 queues all it is to say and never cuts it short (its speech-dispatcher output
// ignores "interrupt"), so it would read the newly focused control with its whole description
// before the click's result. Told a moment later, the focus change follows the result.
#pragma once

#include <QPointer>

class QAccessibleEvent;
class QWidget;

namespace tolvaro {

class FocusHold {
public:
    explicit FocusHold(QWidget* window) : window_(window) {}
    ~FocusHold();
    FocusHold(const FocusHold&) = delete;
    FocusHold& operator=(const FocusHold&) = delete;

    // From now until EndClick, focus changes inside the window are not told.
    void Begin();
    // The click is done: later focus changes are told at once (and the held one is dropped then).
    void EndClick();
    // Tells the held focus change, if its control still has the focus; nothing is held after.
    void Release();
    // A control that has the focus which assistive tools have not been told of.
    bool Hides(const QWidget* widget) const { return widget && widget == held_.data(); }
    // Whether the hold in effect hides the focus of the widget.
    static bool Hidden(const QWidget* widget);
    bool Holding() const { return installed_; }
    // The control that had the focus when the click began.
    const QWidget* Before() const { return before_.data(); }

private:
    static void Handle(QAccessibleEvent* event);
    static void Forward(QAccessibleEvent* event);
    void Uninstall();

    QWidget* window_;
    QPointer<QWidget> held_;
    QPointer<QWidget> before_;
    bool clicking_ = false;
    bool installed_ = false;
};

}  // namespace tolvaro
