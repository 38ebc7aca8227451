// What the shell needs from the system it runs on. A backend (Win32, SDL,
// headless) implements this and calls the Shell's event handlers from its
// message loop; all decisions are the shell's.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "app/Pacing.h"
#include "engine/PixelSink.h"
#include "scene/LineReader.h"
#include "scene/Settings.h"

namespace zirvo {

class ShellPlatform {
 public:
  virtual ~ShellPlatform() = default;

  // Registers the window class, measures the physical screen into `screen`, and
  // creates the borderless full-screen window (not yet visible). False: no window.
  virtual bool InitWindow(ScreenSize& screen) = 0;
  // Shows the window and delivers its first paint before returning (the backend
  // calls Shell::OnPaint from here). A system whose programs look up keyboard
  // accelerators does so here, after the paint.
  virtual void ShowAndUpdate() = 0;

  // Paint support for Shell::OnPaint.
  virtual void HideCursor() = 0;
  // The default handling of a paint: validate, erase the invalid area to black.
  virtual void DefaultPaint() = 0;
  // Where the banner's block begins, in pixels from the window's top, given the
  // height of one line (text height plus external leading).
  using BannerPlacement = std::function<int(int lineHeight)>;
  // Paints the banner: its lines centred horizontally, the block's top edge
  // where `place` puts it for the font's line height, in light green 0x80FF80
  // over the black background.
  virtual void PaintBanner(const std::string& text, const BannerPlacement& place) = 0;

  // Ends the message loop (from the window thread, inside an event handler).
  virtual void PostQuit() = 0;
  // Asks the window thread's loop to end (from the drawing thread).
  virtual void PostQuitFromDrawingThread() = 0;
  // Starts the drawing thread; false when it could not be started.
  virtual bool StartDrawingThread(std::function<void()> body) = 0;
  // Serves events until quit; returns the exit code (0).
  virtual int RunMessageLoop() = 0;
  // After the loop, with the drawing thread asked to stop: waits at most
  // `timeoutMs` for `exited` to become true, then releases the thread. False
  // when it is still running; the shell then ends the process at once, so that
  // nothing the thread uses is destroyed under it. A backend that cannot wait
  // keeps this default.
  virtual bool JoinDrawingThread(const std::function<bool()>& exited, std::uint32_t timeoutMs) {
    (void)exited;
    (void)timeoutMs;
    return false;
  }

  // The drawing thread's surface: physical pixels, set immediately and visibly.
  virtual PixelSink& Display() = 0;
  // One calibration trial's pixel work, before the trial's busy-wait of
  // `trialWait` repetitions; by default CalibrationWork on Display().
  virtual void RunCalibrationWork(std::uint32_t trialWait) {
    (void)trialWait;
    CalibrationWork(Display());
  }

  // time(NULL): seconds of the calendar clock.
  virtual std::int64_t Time() = 0;
  // clock() in milliseconds.
  virtual MillisecondClock& Clock() = 0;
  // The current directory, without a trailing separator.
  virtual std::string CurrentDirectory() = 0;
  // How the loader opens files; null for the standard library.
  virtual FileOpener* Opener() { return nullptr; }
};

}  // namespace zirvo
