// What a test or a benchmark watches of a run of zirvo on SDL. The backend
// tells an installed observer what its window thread does; zirvo itself
// installs none (tests/observed builds a zirvo that does).
#pragma once

#include <chrono>

namespace zirvo {

class Shell;
class TrackedScreen;

class SdlObserver {
 public:
  using Clock = std::chrono::steady_clock;

  virtual ~SdlObserver() = default;

  // The window exists: the screen the drawing thread draws on, the shell that
  // runs it and the display's refresh rate.
  virtual void WindowCreated(const TrackedScreen& screen, const Shell& shell, int refreshHz) = 0;
  // The drawing thread is about to start; the calibration's pixels are set.
  virtual void DrawingStarting() = 0;
  // An expose after the window's first paint erased the window again.
  virtual void Exposed() = 0;
  // A frame went to the display, its present from start to end.
  virtual void FramePresented(Clock::time_point start, Clock::time_point end) = 0;
  // One round of the message loop: at least once per refresh.
  virtual void LoopTurned() = 0;
  // The message loop has ended; then the drawing thread is joined (or given up).
  virtual void LoopEnded() = 0;
  virtual void DrawingJoined() = 0;
};

}  // namespace zirvo
