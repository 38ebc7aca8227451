// frame-wait-check.exe: zirvo.scr's wait between frames (FrameWait), measured
// on this system. Prints one line per finding and exits 0 when all hold:
// - which timer it waits on (the high-resolution one, or timeouts);
// - 60 frame waits in a row, each until its own due time: none ends before
//   it is due (a millisecond's grace for the clocks' rounding), and their
//   median ends within kLateMs of it;
// - a message already in the queue ends a long wait at once, and so does one
//   posted by another thread while the wait is under way.
// The bounds are generous (emulated and busy machines): they catch a wait in
// wrong units or one that input does not end, not jitter.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <thread>
#include <vector>

#include "platform/win32-saver/FrameWait.h"

namespace {

constexpr std::uint64_t kFrameUs = 1'000'000 / 60;
constexpr int kFrames = 60;
constexpr double kEarlyGraceMs = 1.0;
constexpr double kLateMs = 12.0;
constexpr double kWokenWithinMs = 500.0;

double NowMs() {
  static const double perMs = [] {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(frequency.QuadPart) / 1000.0;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / perMs;
}

// Drops whatever is in the thread's queue.
void EmptyQueue() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) != 0) {
  }
}

bool FramesOnTime(zirvo::scr::FrameWait& wait) {
  std::vector<double> lateness;
  double due = NowMs();
  for (int i = 0; i < kFrames; ++i) {
    due += static_cast<double>(kFrameUs) / 1000.0;
    double now = NowMs();
    // A frame that is already due is not waited for, as in the saver's loop.
    while (now < due) {
      wait.Wait(static_cast<std::uint64_t>((due - now) * 1000.0 + 0.5));
      now = NowMs();
      if (now < due - kEarlyGraceMs) {
        std::printf("frame %d: the wait ended %.2f ms before its time\n", i, due - now);
        return false;
      }
    }
    lateness.push_back(now - due);
  }
  std::sort(lateness.begin(), lateness.end());
  const double median = lateness[lateness.size() / 2];
  std::printf("frames: %d waits of %.3f ms; late by median %.3f ms, at most %.3f ms\n", kFrames,
              static_cast<double>(kFrameUs) / 1000.0, median, lateness.back());
  if (median > kLateMs) {
    std::printf("frames: the median wait ends over %.0f ms late\n", kLateMs);
    return false;
  }
  return true;
}

bool QueuedMessageEndsWait(zirvo::scr::FrameWait& wait) {
  EmptyQueue();
  PostThreadMessageA(GetCurrentThreadId(), WM_USER, 0, 0);
  const double start = NowMs();
  wait.Wait(5'000'000);
  const double took = NowMs() - start;
  std::printf("a message in the queue ended a 5 s wait after %.3f ms\n", took);
  EmptyQueue();
  return took < kWokenWithinMs;
}

bool PostedMessageEndsWait(zirvo::scr::FrameWait& wait) {
  EmptyQueue();
  const DWORD self = GetCurrentThreadId();
  std::thread poster([self] {
    Sleep(50);
    PostThreadMessageA(self, WM_USER, 0, 0);
  });
  const double start = NowMs();
  wait.Wait(5'000'000);
  const double took = NowMs() - start;
  poster.join();
  std::printf("a message posted 50 ms into a 5 s wait ended it after %.3f ms\n", took);
  EmptyQueue();
  return took < 50.0 + kWokenWithinMs;
}

}  // namespace

int main() {
  // The thread's message queue exists from its first call that needs one.
  MSG msg;
  PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
  zirvo::scr::FrameWait wait;
  std::printf("timer: %s\n",
              wait.HighResolution() ? "high-resolution waitable timer" : "wait timeouts");
  bool ok = FramesOnTime(wait);
  ok = QueuedMessageEndsWait(wait) && ok;
  ok = PostedMessageEndsWait(wait) && ok;
  std::printf("%s\n", ok ? "frame-wait-check: all held" : "frame-wait-check: FAILED");
  return ok ? 0 : 1;
}
