#include "window/placement.h"

#include <QGuiApplication>
#include <QMargins>
#include <QScreen>
#include <QWidget>
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <thread>

namespace tolvaro {

namespace {

// A window manager answers within a millisecond or two; one that says it answers and doesn't
// costs the start this much once.
constexpr auto kFrameWait = std::chrono::milliseconds(50);

template <class Reply>
using ReplyPtr = std::unique_ptr<Reply, decltype(&std::free)>;

// The reply of a property request, or none on an error (which stays out of Qt's event queue).
ReplyPtr<xcb_get_property_reply_t> PropertyReply(xcb_connection_t* c, xcb_get_property_cookie_t cookie) {
    xcb_generic_error_t* error = nullptr;
    ReplyPtr<xcb_get_property_reply_t> reply(xcb_get_property_reply(c, cookie, &error), &std::free);
    if (error) {
        std::free(error);
        reply.reset();
    }
    return reply;
}

// The frame (left, top, right, bottom) the window manager will put around `window`, asked for
// before the window is mapped (_NET_REQUEST_FRAME_EXTENTS, EWMH). None without a window manager
// that offers that.
std::optional<QMargins> FrameBeforeMap(xcb_connection_t* c, xcb_window_t window) {
    enum { kCheck, kSupported, kRequest, kExtents, kAtoms };
    const char* const names[kAtoms] = {"_NET_SUPPORTING_WM_CHECK", "_NET_SUPPORTED", "_NET_REQUEST_FRAME_EXTENTS",
                                       "_NET_FRAME_EXTENTS"};
    xcb_intern_atom_cookie_t cookies[kAtoms];
    for (int i = 0; i < kAtoms; ++i) {
        cookies[i] = xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(names[i])), names[i]);
    }
    const xcb_get_geometry_cookie_t geometryCookie = xcb_get_geometry(c, window);
    xcb_atom_t atoms[kAtoms];
    for (int i = 0; i < kAtoms; ++i) {
        ReplyPtr<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(c, cookies[i], nullptr), &std::free);
        if (!reply) return std::nullopt;
        atoms[i] = reply->atom;
    }
    ReplyPtr<xcb_get_geometry_reply_t> geometry(xcb_get_geometry_reply(c, geometryCookie, nullptr), &std::free);
    if (!geometry) return std::nullopt;
    const xcb_window_t root = geometry->root;

    // A window manager runs while the window it names on the root exists.
    const auto check = PropertyReply(c, xcb_get_property(c, 0, root, atoms[kCheck], XCB_ATOM_WINDOW, 0, 1));
    if (!check || xcb_get_property_value_length(check.get()) != 4) return std::nullopt;
    const xcb_window_t wm = *static_cast<const xcb_window_t*>(xcb_get_property_value(check.get()));
    const auto alive = PropertyReply(c, xcb_get_property(c, 0, wm, atoms[kCheck], XCB_ATOM_WINDOW, 0, 1));
    if (!alive || xcb_get_property_value_length(alive.get()) != 4) return std::nullopt;
    const auto supported = PropertyReply(c, xcb_get_property(c, 0, root, atoms[kSupported], XCB_ATOM_ATOM, 0, 4096));
    if (!supported) return std::nullopt;
    const auto* offered = static_cast<const xcb_atom_t*>(xcb_get_property_value(supported.get()));
    const int count = xcb_get_property_value_length(supported.get()) / 4;
    if (std::find(offered, offered + count, atoms[kRequest]) == offered + count) return std::nullopt;

    xcb_client_message_event_t request{};
    request.response_type = XCB_CLIENT_MESSAGE;
    request.format = 32;
    request.window = window;
    request.type = atoms[kRequest];
    xcb_send_event(c, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&request));
    xcb_flush(c);
    const auto deadline = std::chrono::steady_clock::now() + kFrameWait;
    do {
        const auto extents =
            PropertyReply(c, xcb_get_property(c, 0, window, atoms[kExtents], XCB_ATOM_CARDINAL, 0, 4));
        if (extents && xcb_get_property_value_length(extents.get()) == 16) {
            const auto* v = static_cast<const std::uint32_t*>(xcb_get_property_value(extents.get()));
            // left, right, top, bottom
            return QMargins(static_cast<int>(v[0]), static_cast<int>(v[2]), static_cast<int>(v[1]),
                            static_cast<int>(v[3]));
        }
        std::this_thread::sleep_for(std::chrono::microseconds(250));
    } while (std::chrono::steady_clock::now() < deadline);
    return std::nullopt;
}

}  // namespace

void CentreOnScreen(QWidget& window) {
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) return;
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    QMargins frame;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (QGuiApplication::platformName() == QLatin1String("xcb") && x11 && x11->connection()) {
        // Made now rather than when shown: the frame is asked for this very window.
        const auto id = static_cast<xcb_window_t>(window.winId());
        const qreal ratio = screen->devicePixelRatio();
        if (const auto extents = FrameBeforeMap(x11->connection(), id)) {
            frame = QMargins(qRound(extents->left() / ratio), qRound(extents->top() / ratio),
                             qRound(extents->right() / ratio), qRound(extents->bottom() / ratio));
        }
    }
    QRect outer(QPoint(0, 0), window.size().grownBy(frame));
    outer.moveCenter(screen->availableGeometry().center());
    // The client area's place: the window manager puts the frame around it.
    window.setGeometry(QRect(outer.topLeft() + QPoint(frame.left(), frame.top()), window.size()));
}

}  // namespace tolvaro
