#include "window/screen/x11screen.h"

#include <xcb/randr.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <span>
#include <string_view>
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

template <class T>
std::span<const T> Values(const xcb_get_property_reply_t* reply) {
    if (!reply) return {};
    return {static_cast<const T*>(xcb_get_property_value(reply)),
            static_cast<std::size_t>(xcb_get_property_value_length(reply)) / sizeof(T)};
}

xcb_atom_t Atom(xcb_connection_t* c, const char* name) {
    const auto cookie = xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
    ReplyPtr<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(c, cookie, nullptr), &std::free);
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

// The monitor Qt takes for its primary screen: the one marked primary, else the first.
std::optional<QRect> PrimaryMonitor(xcb_connection_t* c, xcb_window_t root) {
    const xcb_query_extension_reply_t* randr = xcb_get_extension_data(c, &xcb_randr_id);
    if (!randr || !randr->present) return std::nullopt;
    ReplyPtr<xcb_randr_get_monitors_reply_t> monitors(
        xcb_randr_get_monitors_reply(c, xcb_randr_get_monitors(c, root, 1), nullptr), &std::free);
    if (!monitors) return std::nullopt;
    std::optional<QRect> found;
    for (auto it = xcb_randr_get_monitors_monitors_iterator(monitors.get()); it.rem;
         xcb_randr_monitor_info_next(&it)) {
        const QRect rect(it.data->x, it.data->y, it.data->width, it.data->height);
        if (it.data->primary) return rect;
        if (!found) found = rect;
    }
    return found;
}

// The value of Xft.dpi among the X resources, read as Qt reads it.
int XftDpiOf(std::string_view resources) {
    constexpr std::string_view key = "Xft.dpi:";
    for (std::size_t start = 0; start < resources.size();) {
        const std::size_t end = std::min(resources.find('\n', start), resources.size());
        std::string_view line = resources.substr(start, end - start);
        start = end + 1;
        if (!line.starts_with(key)) continue;
        line.remove_prefix(key.size());
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
        int dpi = 0;
        while (!line.empty() && line.front() >= '0' && line.front() <= '9' && dpi < 10000) {
            dpi = dpi * 10 + (line.front() - '0');
            line.remove_prefix(1);
        }
        // Qt takes a whole number or nothing.
        return line.find_first_not_of(" \t\r") == std::string_view::npos ? dpi : 0;
    }
    return 0;
}

}  // namespace

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
    if (Values<xcb_window_t>(check.get()).size() != 1) return std::nullopt;
    const xcb_window_t wm = Values<xcb_window_t>(check.get())[0];
    const auto alive = PropertyReply(c, xcb_get_property(c, 0, wm, atoms[kCheck], XCB_ATOM_WINDOW, 0, 1));
    if (Values<xcb_window_t>(alive.get()).size() != 1) return std::nullopt;
    const auto supported = PropertyReply(c, xcb_get_property(c, 0, root, atoms[kSupported], XCB_ATOM_ATOM, 0, 4096));
    const auto offered = Values<xcb_atom_t>(supported.get());
    if (std::find(offered.begin(), offered.end(), atoms[kRequest]) == offered.end()) return std::nullopt;

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
        const auto v = Values<std::uint32_t>(extents.get());
        if (v.size() == 4) {
            // left, right, top, bottom
            return QMargins(static_cast<int>(v[0]), static_cast<int>(v[2]), static_cast<int>(v[1]),
                            static_cast<int>(v[3]));
        }
        std::this_thread::sleep_for(std::chrono::microseconds(250));
    } while (std::chrono::steady_clock::now() < deadline);
    return std::nullopt;
}

std::unique_ptr<X11Screen> X11Screen::Open() {
    int number = 0;
    xcb_connection_t* c = xcb_connect(nullptr, &number);
    if (xcb_connection_has_error(c)) {
        xcb_disconnect(c);
        return nullptr;
    }
    auto it = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (; it.rem && number > 0; --number) xcb_screen_next(&it);
    if (!it.rem) {
        xcb_disconnect(c);
        return nullptr;
    }
    return std::unique_ptr<X11Screen>(new X11Screen(c, it.data));
}

X11Screen::X11Screen(xcb_connection_t* c, const xcb_screen_t* screen) : c_(c), root_(screen->root) {
    xcb_prefetch_extension_data(c, &xcb_randr_id);
    const auto resources =
        xcb_get_property(c, 0, root_, XCB_ATOM_RESOURCE_MANAGER, XCB_ATOM_STRING, 0, 16384);
    const auto workArea = xcb_get_property(c, 0, root_, Atom(c, "_NET_WORKAREA"), XCB_ATOM_CARDINAL, 0, 4);
    const auto resourcesReply = PropertyReply(c, resources);
    const auto text = Values<char>(resourcesReply.get());
    xftDpi_ = XftDpiOf(std::string_view(text.data(), text.size()));
    freeArea_ = PrimaryMonitor(c, root_).value_or(QRect(0, 0, screen->width_in_pixels, screen->height_in_pixels));
    // Qt reads the first desktop's work area only.
    const auto workAreaReply = PropertyReply(c, workArea);
    if (const auto v = Values<std::uint32_t>(workAreaReply.get()); v.size() == 4) {
        freeArea_ &= QRect(static_cast<int>(v[0]), static_cast<int>(v[1]), static_cast<int>(v[2]),
                           static_cast<int>(v[3]));
    }
}

X11Screen::~X11Screen() { xcb_disconnect(c_); }

std::optional<QMargins> X11Screen::ToolWindowFrame() {
    const xcb_window_t probe = xcb_generate_id(c_);
    xcb_create_window(c_, XCB_COPY_FROM_PARENT, probe, root_, 0, 0, 100, 100, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                      XCB_COPY_FROM_PARENT, 0, nullptr);
    // The hints Qt gives a fixed-size window with a title bar and a close box only: the motif
    // functions move, resize and close, the decorations border, resize handle, title and menu.
    const std::uint32_t motif[5] = {0x3, 0x26, 0x1e, 0, 0};
    const xcb_atom_t motifAtom = Atom(c_, "_MOTIF_WM_HINTS");
    xcb_change_property(c_, XCB_PROP_MODE_REPLACE, probe, motifAtom, motifAtom, 32, 5, motif);
    std::uint32_t sizeHints[18] = {};
    sizeHints[0] = 16 | 32;  // minimum and maximum size
    sizeHints[5] = sizeHints[7] = 100;
    sizeHints[6] = sizeHints[8] = 100;
    xcb_change_property(c_, XCB_PROP_MODE_REPLACE, probe, XCB_ATOM_WM_NORMAL_HINTS, XCB_ATOM_WM_SIZE_HINTS, 32, 18,
                        sizeHints);
    const std::optional<QMargins> frame = FrameBeforeMap(c_, probe);
    xcb_destroy_window(c_, probe);
    xcb_flush(c_);
    return frame;
}

}  // namespace tolvaro
