// The shell on SDL2: one borderless full-screen black window on the primary
// display, the pointer hidden. The drawing thread sets pixels in a TrackedScreen;
// this (window) thread serves events and presents the changed rows
// (SdlPresenter, into WindowPixels: SDL's window surface, or on Wayland buffers
// of the display's pixels) at the display's refresh rate (FrameCadence), so a
// pixel set is on screen within a frame.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/Clocks.h"
#include "app/Shell.h"
#include "app/ShellPlatform.h"
#include "image/TrackedScreen.h"
#include "platform/sdl/BannerFont.h"
#include "platform/sdl/SdlObserver.h"
#include "platform/sdl/SdlPresenter.h"
#include "platform/thread/DrawingThread.h"

struct SDL_Window;
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
  // The drawing thread's screen as the presenter reads it.
  class ScreenRows final : public ArgbRows {
   public:
    explicit ScreenRows(const TrackedScreen& screen) : screen_(screen) {}
    std::int32_t Width() const override { return screen_.Width(); }
    std::int32_t Height() const override { return screen_.Height(); }
    void ReadArgb(const Rect& band, std::uint32_t* argb, std::size_t pitch) const override {
      screen_.ConvertRows(band.y, band.height, band.x, band.x + band.width, argb, pitch);
    }

   private:
    const TrackedScreen& screen_;
  };

  // Serves the window's events up to its first expose, which the first paint
  // then answers; other events wait in the queue for the message loop.
  void AwaitFirstExpose();
  void Dispatch(const SDL_Event& event);
  // Shows the rows changed since the last frame (all of them when forced).
  void Present(bool force);
  bool PresentOnSurface(bool force);

  Shell* shell_ = nullptr;
  SdlObserver* observer_ = nullptr;
  bool videoStarted_ = false;
  SDL_Window* window_ = nullptr;
  std::unique_ptr<WindowPixels> pixels_;
  std::optional<SdlPresenter> presenter_;  // on pixels_
  std::unique_ptr<TrackedScreen> screen_;
  std::vector<RowRun> changedRows_;
  std::vector<Rect> bands_;
  BannerFont font_;
  bool fontTried_ = false;
  std::string windowError_;
  int refreshHz_ = 60;
  std::uint32_t quitEventType_ = 0;
  // Set once the drawing thread's quit is in the event queue (drawing thread only).
  bool quitPostedFromDrawing_ = false;
  bool quit_ = false;
  DrawingThread thread_;
  SteadyClock clock_;
};

}  // namespace zirvo
