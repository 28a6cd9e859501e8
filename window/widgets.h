// The few widget kinds the main window needs beyond plain Qt ones: a panel with bevels, a
// picture drawn from vector art, and a single-line edit with the answer fields' focus rules.
#pragma once

#include <QFrame>
#include <QLineEdit>
#include <QSvgRenderer>
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

class TEdit : public QLineEdit {
public:
    TEdit(QWidget* parent, bool selectOnFocus, bool keepSelection)
        : QLineEdit(parent), selectOnFocus_(selectOnFocus), keepSelection_(keepSelection) {}

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    bool selectOnFocus_;
    bool keepSelection_;
};

// Gives a control the pointer the layout names for it. A control without one of its own shows
// its parent's if it is a label or an image, and its kind's usual pointer otherwise: the arrow
// for buttons, panels and the group box.
void SetPointer(QWidget* widget, Kind kind, Cursor cursor, const QCursor& noDrop);

// Sets an edit's text. Writing a text clears the selection; the same text written back (an exit
// whose normalising changed nothing) leaves the edit as it is.
void WriteText(QLineEdit* edit, const QString& text);

}  // namespace tolvaro
