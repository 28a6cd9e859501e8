// Shared by the benchmark's X watchers: start a program, find its top-level window by title when
// it is mapped, and see its paints through the DAMAGE extension. Meant for a display without a
// window manager, where top-level windows are children of the root window.
#pragma once

#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include <sys/types.h>

namespace xwatch {

using Clock = std::chrono::steady_clock;

struct Rect {
  int x = 0, y = 0, width = 0, height = 0;
  bool Intersects(const Rect& other) const {
    return x < other.x + other.width && other.x < x + width && y < other.y + other.height &&
           other.y < y + height;
  }
};

class Watcher {
 public:
  // Opens $DISPLAY and listens for top-level windows being created and mapped.
  Watcher();
  ~Watcher();
  bool ok() const { return display_ != nullptr && damageEvent_ >= 0; }
  Display* display() const { return display_; }

  // Forks and execs argv; the start time is taken just before the fork.
  bool Start(char** argv);
  Clock::time_point started() const { return started_; }
  pid_t child() const { return child_; }

  // Waits for the window titled `title` to be mapped; returns its id and the moment it was seen.
  // Every top-level window is tracked for damage from its creation on, so no paint is missed.
  std::optional<Window> WaitForMap(const std::string& title, Clock::time_point* when);

  // Waits for the next paint of `window` that touches `area` (window coordinates; an empty
  // area means anywhere). Returns the moment it was seen, or nothing after the timeout.
  std::optional<Clock::time_point> WaitForPaint(Window window, Rect area, std::chrono::milliseconds timeout);

  // Drops paints reported so far.
  void Drain();

  // Clicks the left button at a point in the window (XTEST), returning the moment of the release.
  Clock::time_point Click(Window window, int x, int y);

  // Peak resident set size of the child in KiB (VmHWM), -1 when unknown.
  long PeakResidentKiB() const;

  // Ends the child (SIGTERM, then waits).
  void Stop();

 private:
  bool Next(XEvent* event, Clock::time_point deadline);

  Display* display_ = nullptr;
  int damageEvent_ = -1;
  int damageError_ = 0;
  pid_t child_ = -1;
  Clock::time_point started_;
  std::vector<std::pair<Window, Damage>> damages_;
};

}  // namespace xwatch
