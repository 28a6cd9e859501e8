#pragma once

#include <QLineEdit>
#include <QPointer>

#include "window/inputevents.h"

namespace tolvaro {

// A single-line edit that tells when the focus enters and leaves it, when it is clicked and when
// Enter is pressed in it. It takes no drops: a field's text comes only from typing after it was
// entered, so that leaving it settles every text it holds.
class TEdit : public QLineEdit {
    Q_OBJECT

public:
    TEdit(QWidget* parent, bool selectOnFocus, bool keepSelection)
        : QLineEdit(parent), selectOnFocus_(selectOnFocus), keepSelection_(keepSelection) {
        setAcceptDrops(false);
    }
    void click() { emit clicked(); }
    // A selection kept in sight without the focus (answer 1's) is dropped unannounced before its
    // text goes: a screen reader would say "not selected" for a field the pupil is not in.
    void DropKeptSelection();

signals:
    void clicked();
    // Not when the window is switched to or from: the focus stays in the field then.
    void entered();
    // Only from an edit that was entered last: a focus step in another edit's exit can take the
    // focus from a clicked edit before it ever got it.
    void left();
    void enterPressed();

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    static inline QPointer<TEdit> entered_;  // the edit whose exit may run next
    bool selectOnFocus_;
    bool keepSelection_;
    ClickTracker clicks_;
};

}  // namespace tolvaro
