// The observer of zirvo-observed: what the e2e tests and the frame-time bench
// read of a run, written to stderr.
//
//   ZIRVO_PIXEL_LOG set: "zirvo-pixels WHEN ms=M pixels=P wait=W" at the
//     show's first pixel (WHEN first), once a second (tick) and at the end
//     (end); P counts the pixels set, W is the pacing's WaitCount. An expose
//     that repaints the window once the show draws gives "zirvo-expose ms=M".
//   ZIRVO_FRAME_LOG=SECONDS: the FrameLog summary of the frames presented
//     after the first SECONDS, at the end of the message loop.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>

#include "observed/FrameLog.h"
#include "platform/sdl/SdlObserver.h"

namespace zirvo {

class RunLog final : public SdlObserver {
 public:
  // Reads the two variables above.
  RunLog();

  void WindowCreated(const TrackedScreen& screen, const Shell& shell, int refreshHz) override;
  void DrawingStarting() override;
  void Exposed() override;
  void FramePresented(Clock::time_point start, Clock::time_point end) override;
  void LoopTurned() override;
  void LoopEnded() override;
  void DrawingJoined() override;

 private:
  std::uint32_t ElapsedMs() const;
  std::uint64_t PixelsSet() const;
  void LogPixels(const char* when) const;

  const Clock::time_point start_ = Clock::now();
  bool logPixels_ = false;
  double frameLogSkipSeconds_ = -1;  // below 0: no frame log
  const TrackedScreen* screen_ = nullptr;
  const Shell* shell_ = nullptr;
  std::unique_ptr<FrameLog> frameLog_;
  bool drawing_ = false;
  std::uint64_t pixelsBeforeShow_ = 0;  // the calibration's
  bool firstPixelLogged_ = false;
  std::uint32_t nextTickMs_ = 1000;
};

}  // namespace zirvo
