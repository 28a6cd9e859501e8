// clickwatch: the time from a click to the repaint it causes. Starts a program, waits for its
// window, then in each round clicks at (x, y) and waits for a paint touching the watched area,
// and clicks at the reset point (waiting for its repaint of the area too) to prepare the next
// round. Prints one line per round: the microseconds from the click's release to the repaint.
//
// usage: clickwatch <title> <settle ms> <rounds> <x> <y> <reset x> <reset y>
//                   <area x> <area y> <area width> <area height> <program> [arguments...]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "xwatch.h"

int main(int argc, char* argv[]) {
  if (argc < 13) {
    std::fprintf(stderr,
                 "usage: %s <title> <settle ms> <rounds> <x> <y> <reset x> <reset y> <area x> <area y> <area w> "
                 "<area h> <program> [arguments...]\n",
                 argv[0]);
    return 2;
  }
  int n[10];
  for (int i = 0; i < 10; ++i) n[i] = std::atoi(argv[2 + i]);
  const auto settle = std::chrono::milliseconds(n[0]);
  const int rounds = n[1];
  const xwatch::Rect area{n[6], n[7], n[8], n[9]};

  xwatch::Watcher watcher;
  if (!watcher.ok()) {
    std::fprintf(stderr, "clickwatch: no display, or no DAMAGE/XTEST extension\n");
    return 1;
  }
  if (!watcher.Start(argv + 12)) return 1;
  const auto window = watcher.WaitForMap(argv[1], nullptr);
  if (!window) {
    std::fprintf(stderr, "clickwatch: no window titled '%s'\n", argv[1]);
    return 1;
  }
  std::this_thread::sleep_for(settle);
  for (int round = 0; round < rounds; ++round) {
    watcher.Drain();
    const auto clicked = watcher.Click(*window, n[2], n[3]);
    const auto painted = watcher.WaitForPaint(*window, area, std::chrono::seconds(10));
    if (!painted) {
      std::fprintf(stderr, "clickwatch: round %d: no repaint of the area after the click\n", round + 1);
      return 1;
    }
    std::printf("%lld\n",
                static_cast<long long>(std::chrono::duration_cast<std::chrono::microseconds>(*painted - clicked).count()));
    std::this_thread::sleep_for(settle / 4);
    watcher.Drain();
    watcher.Click(*window, n[4], n[5]);
    if (!watcher.WaitForPaint(*window, area, std::chrono::seconds(10))) {
      std::fprintf(stderr, "clickwatch: round %d: the reset click did not repaint the area\n", round + 1);
      return 1;
    }
    std::this_thread::sleep_for(settle / 4);
  }
  return 0;
}
