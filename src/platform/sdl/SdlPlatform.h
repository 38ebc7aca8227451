// The shell on SDL2: one borderless full-screen black window on the primary
// display, the pointer hidden. The drawing thread sets pixels in a TrackedScreen;
// this (window) thread serves events and shows the changed rows at the
// display's refresh rate, so a pixel set is on screen within a frame.
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
#include "platform/sdl/FrameLog.h"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;
struct SDL_Surface;
struct SDL_Rect;
union SDL_Event;

namespace zirvo {

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
  // Why InitWindow failed; empty when it did not.
  const std::string& WindowError() const { return windowError_; }

  bool InitWindow(ScreenSize& screen) override;
  void ShowAndUpdate() override;
  bool LoadAccelerators() override { return false; }
  void HideCursor() override;
  void DefaultPaint() override;
  int BannerLineHeight() override;
  void PaintBanner(const std::string& text, int top) override;
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
  // How frames reach the window: "surface" (its own surface), or the renderer
  // SDL chose ("opengl", "software", ...); empty before InitWindow.
  std::string RendererName() const;

 private:
  class SteadyMillisecondClock final : public MillisecondClock {
   public:
    std::uint32_t ElapsedMs() override;

   private:
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
  };

  void Dispatch(const SDL_Event& event);
  // Shows the rows changed since the last frame (all of them when forced).
  void Present(bool force);
  // Present's two ways; each returns whether it presented a frame.
  bool PresentOnSurface(bool force);
  bool PresentWithRenderer(bool force);
  // A run of changed rows converted into the window's surface or the texture.
  void WriteRowsToSurface(SDL_Surface& surface, const RowRun& run);
  void WriteRowsToTexture(const RowRun& run);
  void LogPixels(const char* when);

  Shell* shell_ = nullptr;
  bool videoStarted_ = false;
  SDL_Window* window_ = nullptr;
  // Frames go to the window's surface, or through a renderer and its texture.
  bool drawsOnSurface_ = false;
  SDL_Surface* surface_ = nullptr;  // the one last drawn on
  int surfaceWidth_ = 0;
  int surfaceHeight_ = 0;
  std::vector<SDL_Rect> updateRects_;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  std::unique_ptr<TrackedScreen> screen_;
  std::vector<RowRun> changedRows_;
  // Only for a texture that cannot be locked: a run's pixels on their way.
  std::vector<std::uint32_t> staging_;
  BannerFont font_;
  bool fontTried_ = false;
  std::string windowError_;
  int refreshHz_ = 60;
  std::uint32_t quitEventType_ = 0;
  std::atomic<bool> quitPostedFromDrawing_{false};
  bool quit_ = false;
  DrawingThread thread_;
  SteadyMillisecondClock clock_;
  // A test hook: ZIRVO_PIXEL_LOG set makes the program report the count of
  // pixels set on stderr once a second, at the first pixel and at the end.
  bool logPixels_ = false;
  bool firstPixelLogged_ = false;
  std::uint64_t pixelsBeforeShow_ = 0;
  // A test hook: ZIRVO_FRAME_LOG set makes the program time every present and
  // report the frames on stderr at the end (see FrameLog).
  std::unique_ptr<FrameLog> frameLog_;
};

}  // namespace zirvo
