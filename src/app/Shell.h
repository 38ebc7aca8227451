// The program's own logic around the engine: the start-up order, the window
// procedure (paint, keys, clicks, pause and resume, speed, quitting) and the
// drawing thread's loop. Free of any system header: a ShellPlatform supplies the
// window, the thread, the clocks and the pixels.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "app/Pacing.h"
#include "app/ShellPlatform.h"
#include "engine/Show.h"
#include "scene/CommandLine.h"

namespace zirvo {

enum class Key { kScrollLock, kUp, kDown, kOther };

// What the program was started with, as its backend read it from the system:
// the program's path and the scene name, and the path rules they follow.
struct Launch {
  PathStyle style = PathStyle::kWindows;
  ProgramArgs args;
};

class Shell final : private ShowTime {
 public:
  // How long the end of the program waits for the drawing thread to finish its
  // pass (a pass can hold many Delay calls) before it ends the process at once.
  static constexpr std::uint32_t kDrawThreadStopMs = 2000;

  explicit Shell(ShellPlatform& platform);

  // Start-up in order (window, load, show, calibration when WaitCount is 0,
  // StartTime and the seed, drawing thread), then the message loop. Returns
  // the exit code.
  int Run(const Launch& launch);

  // The window procedure.
  void OnPaint();
  void OnKeyDown(Key key);
  void OnButtonDown();  // left or right
  void OnDestroy();

  // The drawing thread's body; returns only after RequestStop.
  void DrawThread();
  // Makes DrawThread return at the top of its next pass (for a clean exit).
  void RequestStop() { stopRequested_.store(true, std::memory_order_relaxed); }
  bool DrawThreadExited() const { return drawThreadExited_.load(std::memory_order_acquire); }

  // What the shell holds, for tests and for whoever watches a run. Read the
  // window thread's words from that thread, or once the run is over.
  bool SceneLoaded() const { return SceneLoaded_ != 0; }
  bool Paused() const { return Paused_.load(std::memory_order_relaxed) != 0; }
  std::int32_t PauseStart() const { return PauseStart_; }
  std::int32_t StartTime() const { return StartTime_.load(std::memory_order_relaxed); }
  bool DrawingEnabled() const { return DrawingEnabled_.load(std::memory_order_relaxed) != 0; }
  bool DrawThreadStarted() const { return DrawThreadStarted_; }
  const Pacing& pacing() const { return pacing_; }
  const Show& show() const { return show_; }

 private:
  std::uint32_t Elapsed() override;
  void Resume();

  // Words shared with the drawing thread.
  std::atomic<std::int32_t> Paused_{0};
  std::atomic<std::int32_t> DrawingEnabled_{0};
  std::atomic<std::int32_t> StartTime_{0};
  // Window thread only.
  std::int32_t SceneLoaded_ = 0;
  std::int32_t PauseStart_ = 0;
  bool DrawThreadStarted_ = false;

  Pacing pacing_;
  Show show_;
  ScreenSize screen_;

  ShellPlatform& platform_;
  std::atomic<bool> stopRequested_{false};
  std::atomic<bool> drawThreadExited_{false};
};

}  // namespace zirvo
