// The main window as data: one row per control with all that makes it (its place, texts, font,
// pointer, accessible name, help text, tooltip, key and handlers), built into widgets in a loop by
// TForm1. Positions are relative to the parent's client area, at 96 pixels per inch.
#pragma once

#include <QKeyCombination>
#include <optional>
#include <span>
#include <string>

#include "core/color.h"
#include "core/view.h"

namespace tolvaro {

class TForm1;

// A handler of a control's event; `control` is the control whose event it is (an answer edit
// tells its row by it).
using Handler = void (*)(TForm1& form, Control control);

// What a control's events run, connected once where the control is made.
struct Handlers {
    Handler click = nullptr;     // a click, by the mouse or the control's key
    Handler enter = nullptr;     // the focus enters an edit (not when the window is switched to)
    Handler exit = nullptr;      // the focus leaves an edit that it had entered
    Handler enterKey = nullptr;  // Enter in an edit
};

enum class Kind {
    Label,
    Edit,
    Button,       // push button (also the bitmap buttons without a picture)
    GroupBox,
    Panel,
    Image,
    RichText,     // read-only rich text box (Help) or hidden page buffer (RichEdit1)
};

enum class Cursor { Default, Arrow, NoDrop, No };

// Font style bits.
enum FontStyle : unsigned { Regular = 0, Bold = 1, Italic = 2, Underline = 4 };

// Flags of a control.
enum ControlFlag : unsigned {
    NoFlags = 0,
    Hidden = 1u << 0,          // not visible at creation
    AutoSize = 1u << 1,        // label sized to its text
    AlignRight = 1u << 2,      // text right-aligned (an auto-sized one keeps its right edge)
    AlignCenter = 1u << 3,     // text centred
    TabStop = 1u << 4,         // reached by the Tab key
    WordWrap = 1u << 5,
    Opaque = 1u << 6,          // label painted in its background colour
    KeepSelection = 1u << 7,   // edit keeps its selection shown when it loses the focus
    SelectOnFocus = 1u << 8,   // edit selects its text when focused other than by a mouse click
    ReadOnly = 1u << 9,
    DefaultButton = 1u << 10,  // Enter presses it while it can be pressed
    CancelButton = 1u << 11,   // Escape presses it while it can be pressed
    NoTooltips = 1u << 12,     // container with tooltips switched off
};

struct FontSpec {
    const char* family = nullptr;  // nullptr: the parent's font
    int pixelSize = 0;
    unsigned style = Regular;
    Color color = Color::None;
};

// Panel frames: bevels and border as in the layout.
enum class Bevel { None, Raised, Lowered };

struct ControlSpec {
    // The control, where the logic or the window addresses it; its object name comes from it.
    std::optional<Control> control;
    const char* name = nullptr;  // the object name of a control without a Control value
    Kind kind;
    Control parent = Control::Form1;
    int x, y, width, height;
    const char* text;    // caption or text at creation (UTF-8)
    FontSpec font;
    Color background = Color::None;
    unsigned flags = NoFlags;
    int tabOrder = -1;           // among the parent's children; -1 for none
    const char* tooltip = nullptr;
    Cursor cursor = Cursor::Default;
    int maxLength = 0;           // edits
    const char* picture = nullptr;  // resource path of an image or button picture
    Bevel bevelInner = Bevel::None;
    Bevel bevelOuter = Bevel::None;
    int bevelWidth = 0;
    int borderWidth = 0;
    bool borderLine = false;
    bool stretch = false;    // image: picture scaled to the control's size (otherwise unscaled)
    bool flatFrame = false;  // rich text box: flat single-line frame instead of the 3-D frame
    // For assistive tools, where the control shows no caption that names it.
    const char* accessibleName = nullptr;
    // The context help shown while the mouse moves over the control (lines joined by a carriage
    // return alone); "" clears the box, nullptr leaves it as it is. Also its accessible description.
    const char* help = nullptr;
    // The key that clicks the control; Qt::Key_unknown for none. Enter stands for the keypad's too.
    QKeyCombination key = Qt::Key_unknown;
    Handlers handlers = {};

    std::string ObjectName() const { return control ? ControlName(*control) : name; }
};

// Every control of the main window, parents before their children, in creation (stacking) order.
std::span<const ControlSpec> MainWindowControls();

}  // namespace tolvaro
