// The X11 screen as the X server and the window manager describe it.
#pragma once

#include <QMargins>
#include <QRect>
#include <memory>
#include <optional>
#include <xcb/xcb.h>

namespace tolvaro {

// The frame (left, top, right, bottom) the window manager will put around `window`, asked for
// before the window is mapped (_NET_REQUEST_FRAME_EXTENTS, EWMH). None without a window manager
// that offers that.
std::optional<QMargins> FrameBeforeMap(xcb_connection_t* c, xcb_window_t window);

// The screen Qt will show the window on, read on a connection of its own before Qt has one.
class X11Screen {
public:
    // None without an X server to talk to.
    static std::unique_ptr<X11Screen> Open();
    ~X11Screen();
    X11Screen(const X11Screen&) = delete;
    X11Screen& operator=(const X11Screen&) = delete;

    // The primary monitor's share of the work area (the desktop less its panels), as Qt reckons
    // it for its primary screen.
    QRect FreeArea() const { return freeArea_; }
    // The desktop's Xft.dpi resource; 0 where it sets none.
    int XftDpi() const { return xftDpi_; }
    // The frame the window manager gives a fixed-size window with a title bar and a close box
    // only; none without a window manager.
    std::optional<QMargins> ToolWindowFrame();

private:
    explicit X11Screen(xcb_connection_t* c, const xcb_screen_t* screen);

    xcb_connection_t* c_;
    xcb_window_t root_;
    QRect freeArea_;
    int xftDpi_ = 0;
};

}  // namespace tolvaro
