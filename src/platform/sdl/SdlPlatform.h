// The shell on SDL2: one borderless full-screen black window on the primary
// display, the pointer hidden. The drawing thread sets pixels in a TrackedScreen;
// this (window) thread serves events and copies the changed rows into the
// window's own surface (WindowPixels: SDL's, or on Wayland buffers of the
// display's pixels) at the display's refresh rate, so a pixel set is on
// screen within a frame.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/Shell.h"
#include "app/ShellPlatform.h"
#include "platform/headless/DrawingThread.h"
#include "platform/headless/TrackedScreen.h"
#include "platform/sdl/BannerFont.h"
#include "platform/sdl/SdlObserver.h"

struct SDL_Window;
struct SDL_Surface;
struct SDL_Rect;
union SDL_Event;

namespace zirvo {

class WindowPixels;

class SdlPlatform final : public ShellPlatform {
 public:
  SdlPlatform();
  ~SdlPlatform() override;
  SdlPlatform(const SdlPlatform&) = delete;
  SdlPlatform& operator=(const SdlPlatform&) = delete;

  // Starts SDL's video. False, with the reason in `error`, when there is no
  // display to show on.
  bool Open(std::string& error);
  void Attach(Shell& shell) { shell_ = &shell; }
  // Set before the window opens; null for none.
  void SetObserver(SdlObserver* observer) { observer_ = observer; }
  // Why InitWindow failed; empty when it did not.
  const std::string& WindowError() const { return windowError_; }

  bool InitWindow(ScreenSize& screen) override;
  void ShowAndUpdate() override;
  void HideCursor() override;
  void DefaultPaint() override;
  void PaintBanner(const std::string& text, const BannerPlacement& place) override;
  void PostQuit() override { quit_ = true; }
  void PostQuitFromDrawingThread() override;
  bool StartDrawingThread(std::function<void()> body) override;
  int RunMessageLoop() override;
  bool JoinDrawingThread(const std::function<bool()>& exited, std::uint32_t timeoutMs) override;
  PixelSink& Display() override { return *screen_; }
  std::int64_t Time() override;
  MillisecondClock& Clock() override { return clock_; }
  std::string CurrentDirectory() override;

  // One frame as the message loop shows it at each refresh: the rows changed
  // since the last one, if any (public for the benchmarks).
  void PresentFrame() { Present(false); }

 private:
  class SteadyMillisecondClock final : public MillisecondClock {
   public:
    std::uint32_t ElapsedMs() override;

   private:
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
  };

  // Serves the window's events up to its first expose, which the first paint
  // then answers; other events wait in the queue for the message loop.
  void AwaitFirstExpose();
  void Dispatch(const SDL_Event& event);
  // Shows the rows changed since the last frame (all of them when forced).
  void Present(bool force);
  bool PresentOnSurface(bool force);
  // A run of changed rows converted into the window's surface.
  void WriteRowsToSurface(SDL_Surface& surface, const RowRun& run);

  Shell* shell_ = nullptr;
  SdlObserver* observer_ = nullptr;
  bool videoStarted_ = false;
  SDL_Window* window_ = nullptr;
  std::unique_ptr<WindowPixels> pixels_;
  SDL_Surface* surface_ = nullptr;  // the one last drawn on
  int surfaceWidth_ = 0;
  int surfaceHeight_ = 0;
  std::vector<SDL_Rect> updateRects_;
  std::unique_ptr<TrackedScreen> screen_;
  std::vector<RowRun> changedRows_;
  // A run's pixels on their way into a surface of another pixel format or
  // narrower than the screen.
  std::vector<std::uint32_t> staging_;
  BannerFont font_;
  bool fontTried_ = false;
  std::string windowError_;
  int refreshHz_ = 60;
  std::uint32_t quitEventType_ = 0;
  // Set once the drawing thread's quit is in the event queue (drawing thread only).
  bool quitPostedFromDrawing_ = false;
  bool quit_ = false;
  DrawingThread thread_;
  SteadyMillisecondClock clock_;
};

}  // namespace zirvo
