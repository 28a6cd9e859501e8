// The few widget kinds the main window needs beyond plain Qt ones: a panel with bevels, a
// picture drawn from vector art, a single-line edit with the answer fields' focus rules, and a
// text box whose text stays where it is.
#pragma once

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
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

// A picture from a vector resource, stretched to the control or drawn at its natural size.
class TImage : public QWidget {
public:
    TImage(QWidget* parent, const QString& resource, bool stretch);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString resource_;
    bool stretch_;
    std::unique_ptr<QSvgRenderer> renderer_;
};

// Takes no drops: a field's text comes only from typing after it was entered, so that leaving
// it settles every text it holds.
class TEdit : public QLineEdit {
public:
    TEdit(QWidget* parent, bool selectOnFocus, bool keepSelection)
        : QLineEdit(parent), selectOnFocus_(selectOnFocus), keepSelection_(keepSelection) {
        setAcceptDrops(false);
    }

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    bool selectOnFocus_;
    bool keepSelection_;
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
