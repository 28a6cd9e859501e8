// mapwatch: starts a program and waits, on the X display in $DISPLAY, for a
// top-level window with the given title to be mapped. It then prints
//   <microseconds from start to map> <peak resident set size in KiB>
// and ends the program. The peak (VmHWM) is read after a short pause so that
// the window's first paint is included. Meant for a display without a window
// manager, where top-level windows are children of the root window.
//
// usage: mapwatch <title> <settle milliseconds> <program> [arguments...]

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>
#include <thread>

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

std::optional<std::string> WindowTitle(Display* display, Window window) {
  const Atom netName = XInternAtom(display, "_NET_WM_NAME", False);
  const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(display, window, netName, 0, 1024, False, utf8, &type, &format, &count,
                         &after, &data) == Success &&
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

long PeakResidentKiB(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmHWM:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
  }
  return -1;
}

int Fail(const char* message, pid_t child) {
  std::fprintf(stderr, "mapwatch: %s\n", message);
  if (child > 0) {
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
  }
  return 1;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: %s <title> <settle ms> <program> [arguments...]\n", argv[0]);
    return 2;
  }
  const std::string wanted = argv[1];
  const int settleMs = std::atoi(argv[2]);

  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return Fail("cannot open the display", 0);
  const Window root = DefaultRootWindow(display);
  XSelectInput(display, root, SubstructureNotifyMask);
  XSync(display, False);

  const auto start = std::chrono::steady_clock::now();
  const pid_t child = fork();
  if (child < 0) return Fail("fork failed", 0);
  if (child == 0) {
    close(ConnectionNumber(display));
    execvp(argv[3], argv + 3);
    _exit(127);
  }

  const auto deadline = start + std::chrono::seconds(60);
  for (;;) {
    while (XPending(display) > 0) {
      XEvent event;
      XNextEvent(display, &event);
      if (event.type != MapNotify) continue;
      const auto title = WindowTitle(display, event.xmap.window);
      if (!title || *title != wanted) continue;
      const auto shown = std::chrono::steady_clock::now();
      std::this_thread::sleep_for(std::chrono::milliseconds(settleMs));
      const long peak = PeakResidentKiB(child);
      kill(child, SIGTERM);
      waitpid(child, nullptr, 0);
      const auto micros =
          std::chrono::duration_cast<std::chrono::microseconds>(shown - start).count();
      std::printf("%lld %ld\n", static_cast<long long>(micros), peak);
      return peak > 0 ? 0 : 1;
    }
    if (waitpid(child, nullptr, WNOHANG) == child) return Fail("the program ended first", 0);
    if (std::chrono::steady_clock::now() > deadline) return Fail("no such window within 60 s", child);
    pollfd connection{ConnectionNumber(display), POLLIN, 0};
    poll(&connection, 1, 50);
  }
}
