// The Wayland output a window will appear on, as the compositor describes it.
#pragma once

#include <QSize>
#include <optional>

namespace tolvaro {

struct WaylandOutput {
    QSize size;     // the current mode in pixels, turned as the output is
    int scale = 1;  // the pixels per surface unit the compositor asks for
};

// The first output the compositor announces, read on a connection of its own before Qt has one;
// none without a compositor to talk to.
std::optional<WaylandOutput> FirstWaylandOutput();

}  // namespace tolvaro
