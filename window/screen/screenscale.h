// The scale the main window is drawn at: the desktop's, unless the window, frame and all, would
// not fit the free area of its screen at that scale; then the largest scale at which it does.
// Qt fixes its scale when the application object is made, so the screen is looked at first, with
// a connection of its own (x11screen.h, waylandscreen.h beside this file).
#pragma once

#include <QByteArray>
#include <QMargins>
#include <QSize>
#include <optional>

#include "window/screen/waylandscreen.h"

namespace tolvaro {

// What a window finds on its screen. Device pixels, except where said otherwise.
struct ScreenRoom {
    double desktopScale = 1;  // the scale the desktop asks for
    QSize area;               // the screen's free area: its size less the panels'
    QMargins frame;           // the frame around the client area
    double qtScale = 0;       // the scale Qt draws at unless told otherwise, where it is not the desktop's
};

// On Wayland: the room on `output` at the global factor `global` (QT_SCALE_FACTOR) for a desktop
// that enlarges text by `textScaling`, as X11 desktops do through Xft.dpi (Qt reads only the
// output's scale here). The compositor tells no work area: a GNOME session (`gnome`) keeps its
// top bar over the output's top.
ScreenRoom WaylandRoom(const WaylandOutput& output, double global, double textScaling, bool gnome);

// The desktop's scale where `layout` (in the layout's pixels) fits the room at it, else the
// largest sixteenth at which it does, but not below 1; with a layout pixel to spare on every
// side, which is what Qt's rounding of positions and sizes to device pixels may take.
double FittingScale(QSize layout, const ScreenRoom& room);

// Before the application object is made: finds the screen the window will appear on and, where
// `layout` does not fit it at the desktop's scale, has the application draw at the scale that
// fits. Undo() gives the environment back once the application exists.
class WindowScale {
public:
    explicit WindowScale(QSize layout);
    WindowScale(const WindowScale&) = delete;
    WindowScale& operator=(const WindowScale&) = delete;
    void Undo();

private:
    std::optional<QByteArray> savedFactor_;  // QT_SCALE_FACTOR as found, when it was changed
    bool changed_ = false;
};

}  // namespace tolvaro
