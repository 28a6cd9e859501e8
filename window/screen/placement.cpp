#include "window/screen/placement.h"

#include <QGuiApplication>
#include <QMargins>
#include <QScreen>
#include <cmath>

#include "window/screen/x11screen.h"

namespace tolvaro {

std::optional<QRect> CentredGeometry(QSize size, const std::function<WId()>& window) {
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) return std::nullopt;
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return std::nullopt;
    QMargins frame;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (QGuiApplication::platformName() == QLatin1String("xcb") && x11 && x11->connection()) {
        const auto id = static_cast<xcb_window_t>(window());
        // Rounded up: a frame reckoned too small could end up outside the free area.
        const qreal ratio = screen->devicePixelRatio();
        const auto up = [ratio](int pixels) { return static_cast<int>(std::ceil(pixels / ratio)); };
        if (const auto extents = FrameBeforeMap(x11->connection(), id)) {
            frame = QMargins(up(extents->left()), up(extents->top()), up(extents->right()), up(extents->bottom()));
        }
    }
    const QRect free = screen->availableGeometry();
    QRect outer(QPoint(0, 0), size.grownBy(frame));
    outer.moveCenter(free.center());
    // Where the free area is too small after all, the title bar and the close box stay on it.
    outer.moveTopLeft(QPoint(std::max(free.left(), std::min(outer.left(), free.right() - outer.width() + 1)),
                             std::max(free.top(), std::min(outer.top(), free.bottom() - outer.height() + 1))));
    // The client area's place: the window manager puts the frame around it.
    return QRect(outer.topLeft() + QPoint(frame.left(), frame.top()), size);
}

}  // namespace tolvaro
