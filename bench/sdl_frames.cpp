#include "sdl_frames.h"

#include <set>

#include "BenchShow.h"

namespace zirvo::bench {

namespace {

// Passes until every swirl of dense.zrv is live with its trail full.
constexpr std::uint64_t kDenseWarmPasses = 3020;
constexpr std::int32_t kScreenHeight = 1080;  // BenchShow's screen

// Collects the pass's pixels and starts a new frame after every
// kTurnsPerFrame turns (Delay marks a turn).
class FrameRecorder final : public PixelSink, public Delayer {
 public:
  explicit FrameRecorder(std::vector<std::vector<PixelSet>>& frames) : frames_(frames) {
    frames_.emplace_back();
  }
  void SetPixel(std::int32_t x, std::int32_t y, COLORREF colour) override {
    frames_.back().push_back({x, y, colour});
  }
  void Delay() override {
    if (++turns_ == DenseFrames::kTurnsPerFrame) {
      turns_ = 0;
      frames_.emplace_back();
    }
  }

 private:
  std::vector<std::vector<PixelSet>>& frames_;
  int turns_ = 0;
};

}  // namespace

DenseFrames::DenseFrames(std::size_t frames) {
  BenchShow show("dense.zrv", &MakePointStore);
  show.Passes(QuickMode() ? 20 : kDenseWarmPasses);
  FrameRecorder recorder(frames_);
  while (frames_.size() <= frames)
    show.show.engine->DrawingPass(recorder, recorder);
  frames_.resize(frames);  // the last one may be incomplete
}

void DenseFrames::Draw(std::size_t i, PixelSink& sink) const {
  for (const PixelSet& pixel : frames_[i % frames_.size()])
    sink.SetPixel(pixel.x, pixel.y, pixel.colour);
}

DenseFrames::Means DenseFrames::FrameMeans() const {
  Means sum;
  for (const auto& frame : frames_) {
    std::set<std::int32_t> rows;
    for (const PixelSet& pixel : frame) {
      if (pixel.y >= 0 && pixel.y < kScreenHeight)
        rows.insert(pixel.y);
    }
    sum.pixels += static_cast<double>(frame.size());
    sum.rows += static_cast<double>(rows.size());
    if (!rows.empty())
      sum.rowSpan += static_cast<double>(*rows.rbegin() - *rows.begin() + 1);
  }
  const auto count = static_cast<double>(frames_.size());
  return {sum.pixels / count, sum.rows / count, sum.rowSpan / count};
}

}  // namespace zirvo::bench
