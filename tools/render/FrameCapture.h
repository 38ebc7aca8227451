// Takes the screen for the frame outputs on the simulated clock: frame k is
// the screen as it stands when the clock first reaches k/fps seconds, for
// every k/fps before the time limit, so that a run of T seconds gives T*fps
// frames. A show that ends by itself before the limit adds one frame, its
// final screen. Every writer gets every frame; the first writer that fails
// stops the capture (Failed()).
#pragma once

#include <cstdint>
#include <vector>

#include "image/Picture.h"
#include "render/FrameWriter.h"

namespace zirvo::tools {

class FrameCapture {
 public:
  FrameCapture(const Picture& frame, double fps, std::uint64_t limitUs);

  // Writers are owned by the caller and must outlive the capture.
  void Add(FrameWriter& writer) { writers_.push_back(&writer); }
  bool Empty() const { return writers_.empty(); }

  // The clock has moved to `nowUs`; `pixelsSet` counts every pixel the show
  // has set so far, so that a screen left alone is not converted again.
  void OnClock(std::uint64_t nowUs, std::uint64_t pixelsSet) {
    while (nowUs >= nextAtUs_ && nextAtUs_ < limitUs_ && failed_ == nullptr)
      Capture(pixelsSet);
  }
  // The run is over: the final screen of a show that ended by itself, then
  // every writer completes its file, unless one has failed (the others' files
  // then stop short and are not completed either). The writer that failed, or
  // none.
  FrameWriter* Finish(bool endedByItself, std::uint64_t pixelsSet);

  FrameWriter* Failed() const { return failed_; }
  std::uint64_t FramesTaken() const { return taken_; }

 private:
  void Capture(std::uint64_t pixelsSet);
  void Convert();

  const Picture& frame_;
  double fps_;
  std::uint64_t limitUs_;
  std::vector<FrameWriter*> writers_;
  std::vector<std::uint8_t> rgb_;
  std::uint64_t convertedAt_ = 0;  // pixelsSet when rgb_ was made
  bool converted_ = false;
  std::uint64_t taken_ = 0;
  std::uint64_t nextAtUs_ = 0;
  FrameWriter* failed_ = nullptr;
};

}  // namespace zirvo::tools
