// The widgets of the main window, made from their rows of the control table: beyond plain Qt ones
// a panel with bevels (TPanel), a picture drawn from vector art that is clicked (TImage), a label
// that is clicked (TLabel), a button that Enter presses (TButton), a single-line edit that tells
// what happens to it (TEdit), and a text box whose text stays where it is (TRichEdit). Each tells
// its events as signals, which TForm1 connects to the handlers.
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
#include "window/inputevents.h"
#include "window/tbutton.h"
#include "window/tedit.h"
#include "window/timage.h"
#include "window/tlabel.h"
#include "window/tpanel.h"
#include "window/trichedit.h"

namespace tolvaro {

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
