#include "observed/RunLog.h"

#include <cstdio>
#include <cstdlib>

#include "app/Shell.h"
#include "image/TrackedScreen.h"

namespace zirvo {

RunLog::RunLog() {
  logPixels_ = std::getenv("ZIRVO_PIXEL_LOG") != nullptr;
  if (const char* frames = std::getenv("ZIRVO_FRAME_LOG"); frames != nullptr)
    frameLogSkipSeconds_ = std::atof(frames);
}

void RunLog::WindowCreated(const TrackedScreen& screen, const Shell& shell, int refreshHz) {
  screen_ = &screen;
  shell_ = &shell;
  if (frameLogSkipSeconds_ >= 0)
    frameLog_ = std::make_unique<FrameLog>(1000.0 / refreshHz, frameLogSkipSeconds_);
}

void RunLog::DrawingStarting() {
  drawing_ = true;
  pixelsBeforeShow_ = PixelsSet();
}

void RunLog::Exposed() {
  if (logPixels_ && drawing_)
    std::fprintf(stderr, "zirvo-expose ms=%u\n", ElapsedMs());
}

void RunLog::FramePresented(Clock::time_point start, Clock::time_point end) {
  if (frameLog_)
    frameLog_->Presented(start, end);
  if (logPixels_ && drawing_ && !firstPixelLogged_ && PixelsSet() > pixelsBeforeShow_) {
    firstPixelLogged_ = true;
    LogPixels("first");
  }
}

void RunLog::LoopTurned() {
  if (logPixels_ && ElapsedMs() >= nextTickMs_) {
    LogPixels("tick");
    nextTickMs_ += 1000;
  }
}

void RunLog::LoopEnded() {
  if (frameLog_)
    std::fprintf(stderr, "%s\n", frameLog_->Summary("surface").c_str());
}

void RunLog::DrawingJoined() {
  if (logPixels_)
    LogPixels("end");
}

std::uint32_t RunLog::ElapsedMs() const {
  return static_cast<std::uint32_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start_).count());
}

std::uint64_t RunLog::PixelsSet() const {
  return screen_ != nullptr ? screen_->Pixels().PixelsSet() : 0;
}

void RunLog::LogPixels(const char* when) const {
  std::fprintf(stderr, "zirvo-pixels %s ms=%u pixels=%llu wait=%u\n", when, ElapsedMs(),
               static_cast<unsigned long long>(PixelsSet()),
               shell_ != nullptr ? shell_->pacing().Wait() : 0u);
}

}  // namespace zirvo
