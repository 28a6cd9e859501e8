// Where the main window first appears.
#pragma once

#include <QRect>
#include <QWindow>
#include <functional>
#include <optional>

namespace tolvaro {

// Where a top-level window of client size `size` that is not shown yet goes: in the middle of its
// screen's free area, frame and all; where the area is too small for it, its title bar stays on
// the area's top left. Where the window manager frames windows on X11 (the frame's size known
// only from it), it is asked beforehand for the frame of the native window that `window` makes,
// so the window is mapped in its place and never moves. Without a window manager the window has
// no frame and its client area is centred. On Wayland the compositor places windows: none.
std::optional<QRect> CentredGeometry(QSize size, const std::function<WId()>& window);

}  // namespace tolvaro
