// mapwatch: starts a program and waits, on the X display in $DISPLAY, for its top-level window
// with the given title to be mapped and then painted for the first time. It prints
//   <microseconds from start to map> <microseconds from start to first paint> <peak RSS in KiB>
// and ends the program. The peak (VmHWM) is read after a short settling pause.
//
// usage: mapwatch <title> <settle milliseconds> <program> [arguments...]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "xwatch.h"

namespace {

long long Micros(xwatch::Clock::duration d) {
  return std::chrono::duration_cast<std::chrono::microseconds>(d).count();
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: %s <title> <settle ms> <program> [arguments...]\n", argv[0]);
    return 2;
  }
  xwatch::Watcher watcher;
  if (!watcher.ok()) {
    std::fprintf(stderr, "mapwatch: no display, or no DAMAGE/XTEST extension\n");
    return 1;
  }
  if (!watcher.Start(argv + 3)) return 1;
  xwatch::Clock::time_point mapped;
  const auto window = watcher.WaitForMap(argv[1], &mapped);
  if (!window) {
    std::fprintf(stderr, "mapwatch: no window titled '%s'\n", argv[1]);
    return 1;
  }
  const auto painted = watcher.WaitForPaint(*window, {}, std::chrono::seconds(30));
  if (!painted) {
    std::fprintf(stderr, "mapwatch: the window was never painted\n");
    return 1;
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(std::atoi(argv[2])));
  const long peak = watcher.PeakResidentKiB();
  std::printf("%lld %lld %ld\n", Micros(mapped - watcher.started()), Micros(*painted - watcher.started()), peak);
  return peak > 0 ? 0 : 1;
}
