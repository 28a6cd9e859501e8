// The widgets of the main window, made from their rows of the control table: beyond plain Qt ones
// a panel with bevels, a picture drawn from vector art that is clicked, a label that is clicked, a
// button that Enter presses, a single-line edit that tells what happens to it, and a text box whose
// text stays where it is. Each tells its events as signals, which TForm1 connects to the handlers.
#pragma once

#include <QFrame>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSvgRenderer>
#include <QTextEdit>
#include <memory>
#include <QWidget>

#include "print/nodropcursor.h"
#include "window/controltable.h"

namespace tolvaro {

class TPanel : public QFrame {
public:
    TPanel(QWidget* parent, int bevelInner, int bevelOuter, int bevelWidth, int borderWidth, bool borderLine);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int inner_, outer_, bevelWidth_, borderWidth_;
    bool borderLine_;
};

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

// A picture from a vector resource, stretched to the control or drawn at its natural size.
class TImage : public QWidget {
    Q_OBJECT

public:
    TImage(QWidget* parent, const QString& resource, bool stretch);
    // As a click by the mouse (a key, an assistive tool's press).
    void click() { emit clicked(); }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override { clicks_.Pressed(event); }
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    ClickTracker clicks_;
    QString resource_;
    bool stretch_;
    std::unique_ptr<QSvgRenderer> renderer_;
};

// A label that can be clicked (the countdown says the time left when asked).
class TLabel : public QLabel {
    Q_OBJECT

public:
    using QLabel::QLabel;
    void click() { emit clicked(); }

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    ClickTracker clicks_;
};

// A push button that Enter presses while it has the focus, as the layout's buttons do.
class TButton : public QPushButton {
    Q_OBJECT

public:
    using QPushButton::QPushButton;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

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

// A text box whose text can be selected and copied but not dragged away, and that takes no
// drops. Qt's text box starts a drag when a press on the selection moves far enough, and its
// auto-scroll timer can start a second one from inside the first, which leaves the window
// waiting for a drag that no longer follows the mouse.
class TRichEdit : public QTextEdit {
public:
    explicit TRichEdit(QWidget* parent);

protected:
    void mousePressEvent(QMouseEvent* event) override;
};

// The widget of a row of the control table, in `parent`, with the row's place, texts, font, colours,
// pointer, accessible name and tooltip (not yet its handlers). `noDrop` is the window's pointer.
QWidget* CreateWidget(const ControlSpec& entry, QWidget* parent, const QCursor& noDrop);

// The font of a row: the layout names Windows faces, which are the installed metric-compatible ones.
QFont FontOf(const FontSpec& entry);

// Has the application draw the faces the layout names with the installed ones.
void SubstituteLayoutFaces();

// The key of a control (its row's, or Escape for the cancel button); empty for none.
QKeySequence KeyOf(const QWidget* widget);

// Gives a control the pointer the layout names for it. A control without one of its own shows
// its parent's if it is a label or an image, and its kind's usual pointer otherwise: the arrow
// for buttons, panels and the group box.
void SetPointer(QWidget* widget, Kind kind, Cursor cursor, const QCursor& noDrop);

// Keeps the whole text of a label of fixed size in view: a text wider than the label, such as a
// countdown in a long time format that names its units, is set smaller until it fits; a text that
// fits gets the layout's size back.
void FitToLabel(QLabel* label, const ControlSpec& entry);

// Sets an edit's text. Writing a text clears the selection; the same text written back (an exit
// whose normalising changed nothing) leaves the edit as it is.
void WriteText(QLineEdit* edit, const QString& text);

}  // namespace tolvaro
