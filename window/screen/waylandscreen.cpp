#include "window/screen/waylandscreen.h"

#include <wayland-client.h>

#include <algorithm>
#include <cstring>

namespace tolvaro {

namespace {

struct Found {
    wl_output* output = nullptr;
    QSize mode;
    std::int32_t transform = WL_OUTPUT_TRANSFORM_NORMAL;
    int scale = 1;
};

void OnGlobal(void* data, wl_registry* registry, std::uint32_t name, const char* interface, std::uint32_t version) {
    auto* found = static_cast<Found*>(data);
    // Version 2 tells the scale.
    if (found->output || std::strcmp(interface, wl_output_interface.name) != 0 || version < 2) return;
    found->output = static_cast<wl_output*>(wl_registry_bind(registry, name, &wl_output_interface, 2));
}

void OnGlobalRemove(void*, wl_registry*, std::uint32_t) {}

void OnGeometry(void* data, wl_output*, std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                const char*, const char*, std::int32_t transform) {
    static_cast<Found*>(data)->transform = transform;
}

void OnMode(void* data, wl_output*, std::uint32_t flags, std::int32_t width, std::int32_t height, std::int32_t) {
    if (flags & WL_OUTPUT_MODE_CURRENT) static_cast<Found*>(data)->mode = QSize(width, height);
}

void OnDone(void*, wl_output*) {}

void OnScale(void* data, wl_output*, std::int32_t factor) {
    static_cast<Found*>(data)->scale = std::max(1, factor);
}

}  // namespace

std::optional<WaylandOutput> FirstWaylandOutput() {
    wl_display* display = wl_display_connect(nullptr);
    if (!display) return std::nullopt;
    Found found;
    static constexpr wl_registry_listener registryListener{OnGlobal, OnGlobalRemove};
    static constexpr wl_output_listener outputListener{OnGeometry, OnMode, OnDone, OnScale, nullptr, nullptr};  // bound at version 2
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registryListener, &found);
    wl_display_roundtrip(display);
    std::optional<WaylandOutput> result;
    if (found.output) {
        wl_output_add_listener(found.output, &outputListener, &found);
        wl_display_roundtrip(display);
        // A quarter or three quarters turned, the mode's width is the output's height.
        const QSize size = found.transform % 2 ? found.mode.transposed() : found.mode;
        if (!size.isEmpty()) result = WaylandOutput{size, found.scale};
        wl_output_destroy(found.output);
    }
    wl_registry_destroy(registry);
    wl_display_disconnect(display);
    return result;
}

}  // namespace tolvaro
