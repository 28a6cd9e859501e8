#include "xwatch.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <csignal>
#include <cstdlib>
#include <fstream>

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace xwatch {

namespace {

std::optional<std::string> WindowTitle(Display* display, Window window) {
  const Atom netName = XInternAtom(display, "_NET_WM_NAME", False);
  const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(display, window, netName, 0, 1024, False, utf8, &type, &format, &count, &after,
                         &data) == Success &&
      data != nullptr && type == utf8) {
    std::string title(reinterpret_cast<char*>(data), count);
    XFree(data);
    return title;
  }
  if (data != nullptr) XFree(data);
  char* name = nullptr;
  if (XFetchName(display, window, &name) && name != nullptr) {
    std::string title(name);
    XFree(name);
    return title;
  }
  return std::nullopt;
}

// A window that disappears between an event and a request must not end the watcher.
int IgnoreErrors(Display*, XErrorEvent*) { return 0; }

}  // namespace

Watcher::Watcher() {
  display_ = XOpenDisplay(nullptr);
  if (display_ == nullptr) return;
  XSetErrorHandler(IgnoreErrors);
  if (!XDamageQueryExtension(display_, &damageEvent_, &damageError_)) damageEvent_ = -1;
  int event = 0, error = 0, major = 0, minor = 0;
  if (!XTestQueryExtension(display_, &event, &error, &major, &minor)) damageEvent_ = -1;
  XSelectInput(display_, DefaultRootWindow(display_), SubstructureNotifyMask);
  XSync(display_, False);
}

Watcher::~Watcher() {
  Stop();
  if (display_ != nullptr) XCloseDisplay(display_);
}

bool Watcher::Start(char** argv) {
  started_ = Clock::now();
  child_ = fork();
  if (child_ < 0) return false;
  if (child_ == 0) {
    close(ConnectionNumber(display_));
    execvp(argv[0], argv);
    _exit(127);
  }
  return true;
}

bool Watcher::Next(XEvent* event, Clock::time_point deadline) {
  for (;;) {
    if (XPending(display_) > 0) {
      XNextEvent(display_, event);
      if (event->type == CreateNotify && event->xcreatewindow.parent == DefaultRootWindow(display_)) {
        const Window window = event->xcreatewindow.window;
        damages_.emplace_back(window, XDamageCreate(display_, window, XDamageReportRawRectangles));
      }
      return true;
    }
    if (child_ > 0 && waitpid(child_, nullptr, WNOHANG) == child_) {
      child_ = -1;
      return false;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) return false;
    pollfd connection{ConnectionNumber(display_), POLLIN, 0};
    poll(&connection, 1, static_cast<int>(std::min<long long>(left, 20)));
  }
}

std::optional<Window> Watcher::WaitForMap(const std::string& title, Clock::time_point* when) {
  const auto deadline = Clock::now() + std::chrono::seconds(60);
  XEvent event;
  while (Next(&event, deadline)) {
    if (event.type != MapNotify) continue;
    const auto name = WindowTitle(display_, event.xmap.window);
    if (!name || *name != title) continue;
    if (when) *when = Clock::now();
    return event.xmap.window;
  }
  return std::nullopt;
}

std::optional<Clock::time_point> Watcher::WaitForPaint(Window window, Rect area, std::chrono::milliseconds timeout) {
  const auto deadline = Clock::now() + timeout;
  XEvent event;
  while (Next(&event, deadline)) {
    if (event.type != damageEvent_ + XDamageNotify) continue;
    const auto* damage = reinterpret_cast<const XDamageNotifyEvent*>(&event);
    if (damage->drawable != window) continue;
    const Rect painted{damage->area.x, damage->area.y, damage->area.width, damage->area.height};
    if (area.width == 0 || painted.Intersects(area)) return Clock::now();
  }
  return std::nullopt;
}

void Watcher::Drain() {
  XSync(display_, False);
  XEvent event;
  while (XPending(display_) > 0) XNextEvent(display_, &event);
}

Clock::time_point Watcher::Click(Window window, int x, int y) {
  Window child = None;
  int rootX = 0, rootY = 0;
  XTranslateCoordinates(display_, window, DefaultRootWindow(display_), x, y, &rootX, &rootY, &child);
  XTestFakeMotionEvent(display_, DefaultScreen(display_), rootX, rootY, CurrentTime);
  XTestFakeButtonEvent(display_, 1, True, CurrentTime);
  XSync(display_, False);
  XTestFakeButtonEvent(display_, 1, False, CurrentTime);
  XFlush(display_);
  return Clock::now();
}

long Watcher::PeakResidentKiB() const {
  if (child_ <= 0) return -1;
  std::ifstream status("/proc/" + std::to_string(child_) + "/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmHWM:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
  }
  return -1;
}

void Watcher::Stop() {
  if (child_ <= 0) return;
  kill(child_, SIGTERM);
  waitpid(child_, nullptr, 0);
  child_ = -1;
}

}  // namespace xwatch
