#include "sdl_frames.h"

#include <algorithm>
#include <set>

#include "BenchShow.h"

namespace zirvo::bench {

namespace {

// Passes until every swirl of dense.zrv is live with its trail full.
constexpr std::uint64_t kDenseWarmPasses = 3020;
constexpr std::int32_t kScreenHeight = 1080;  // BenchShow's screen

bool OnScreenRow(std::int32_t y) {
  return y >= 0 && y < kScreenHeight;
}

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
  BenchShow show("dense.zrv", StoreKind::kIndexed);
  show.Passes(QuickMode() ? 20 : kDenseWarmPasses);
  FrameRecorder recorder(frames_);
  while (frames_.size() <= frames)
    show.show.engine->DrawingPass(recorder, recorder);
  frames_.resize(frames);  // the last one may be incomplete
}

void DenseFrames::Draw(std::size_t i, PixelSink& sink) const {
  for (const PixelSet& pixel : Frame(i))
    sink.SetPixel(pixel.x, pixel.y, pixel.colour);
}

double DenseFrames::MeanPixels() const {
  double sum = 0;
  for (const auto& frame : frames_)
    sum += static_cast<double>(frame.size());
  return sum / static_cast<double>(frames_.size());
}

double DenseFrames::MeanRows() const {
  double sum = 0;
  for (const auto& frame : frames_) {
    std::set<std::int32_t> rows;
    for (const PixelSet& pixel : frame) {
      if (OnScreenRow(pixel.y))
        rows.insert(pixel.y);
    }
    sum += static_cast<double>(rows.size());
  }
  return sum / static_cast<double>(frames_.size());
}

double DenseFrames::MeanRowSpan() const {
  double sum = 0;
  for (const auto& frame : frames_) {
    std::int32_t low = kScreenHeight;
    std::int32_t high = -1;
    for (const PixelSet& pixel : frame) {
      if (OnScreenRow(pixel.y)) {
        low = std::min(low, pixel.y);
        high = std::max(high, pixel.y);
      }
    }
    if (high >= low)
      sum += static_cast<double>(high - low + 1);
  }
  return sum / static_cast<double>(frames_.size());
}

}  // namespace zirvo::bench
