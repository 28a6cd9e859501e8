#include "window/keys.h"

#include <QAbstractButton>
#include <QKeySequence>
#include <QLineEdit>
#include <QRegion>

#include "window/tform1.h"

namespace tolvaro {

QString KeyName(QKeyCombination key) {
    if (key.key() == Qt::Key_unknown) return {};
    return QKeySequence(key).toString(QKeySequence::PortableText).replace(QLatin1String("Return"),
                                                                          QLatin1String("Enter"));
}

QKeyCombination TableKey(int key, Qt::KeyboardModifiers modifiers) {
    return QKeyCombination(modifiers & ~Qt::KeypadModifier,
                           key == Qt::Key_Enter ? Qt::Key_Return : static_cast<Qt::Key>(key));
}

bool TForm1::HandleKey(QWidget* target, int key, Qt::KeyboardModifiers modifiers) {
    if (QWidget* control = keys_.value(TableKey(key, modifiers).toCombined())) {
        ClickByKey(control);
        return true;
    }
    // The about panel's OK, while it can be pressed: the window's default button, and what Escape
    // presses when RESET is not there, as it closes a dialog.
    auto pressAboutOk = [this] {
        if (info_->isHidden() || !findChild<QWidget*>(QStringLiteral("OKKnop"))->isEnabled()) return false;
        Run([this] { OKKnopClick(); });
        return true;
    };
    // Escape is the window's cancel key, not a click: it presses RESET while RESET can be
    // pressed, wherever the focus is (also on no control, as after the end of a contest took it
    // out of an answer edit) and also while the about panel lies over it.
    if (key == Qt::Key_Escape && (modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) == 0) {
        auto* reset = static_cast<QAbstractButton*>(widget(Control::OKKnop1));
        if (!reset->isHidden() && reset->isEnabled()) {
            reset->click();
            return true;
        }
        return reset->isHidden() && pressAboutOk();
    }
    // With Ctrl or Alt held Enter is another key (a control's key); with Shift it is Enter.
    if ((key != Qt::Key_Return && key != Qt::Key_Enter) || (modifiers & (Qt::ControlModifier | Qt::AltModifier))) {
        return false;
    }
    if (qobject_cast<QLineEdit*>(target)) {
        if (pressAboutOk()) return true;
        const auto it = handlers_.constFind(target);
        if (it != handlers_.constEnd() && it->enterKey) {
            const auto handler = it->enterKey;
            Run(handler);
            return true;
        }
        return false;
    }
    if (auto* button = qobject_cast<QAbstractButton*>(target)) {
        if (button->isVisible() && button->isEnabled()) button->click();
        return true;
    }
    // Elsewhere, also on no control, Enter presses the default button.
    return pressAboutOk();
}

// A key clicks its control as the mouse would, or not at all where the mouse could not: the
// control must be shown, enabled and not under the about panel. The press moves the focus first,
// where a mouse press moves it, so the field being left settles its text (and may hide or disable
// the control) before the control acts; the focus then rests where the click leaves it.
void TForm1::ClickByKey(QWidget* control) {
    if (!Reachable(control)) {
        emit keyRefused(control);
        return;
    }
    for (QWidget* w = control; w && w != this; w = w->parentWidget()) {
        if (w->focusPolicy() & Qt::ClickFocus) {
            w->setFocus(Qt::MouseFocusReason);
            break;
        }
    }
    if (!Reachable(control)) {
        emit keyRefused(control);
        return;
    }
    if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        button->click();
        return;
    }
    const auto it = handlers_.constFind(control);
    if (it != handlers_.constEnd() && it->click) {
        const auto handler = it->click;
        Run(handler);
    }
}

bool TForm1::Reachable(const QWidget* control) const {
    if (!isEnabled() || !control->isVisible() || !control->isEnabled()) return false;
    if (info_->isHidden() || info_->isAncestorOf(control)) return true;
    const QRect area(control->mapTo(this, QPoint(0, 0)), control->size());
    return !QRegion(area).subtracted(info_->geometry()).isEmpty();
}

}  // namespace tolvaro
