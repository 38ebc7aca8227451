#include "app/SaverShow.h"

#include <utility>

namespace zirvo {

namespace {

// The step between the seeds of successive scenes (the golden ratio's 32-bit
// fraction: successive seeds spread over the whole range).
constexpr std::uint32_t kSeedStep = 0x9E3779B9u;

}  // namespace

SaverShow::SaverShow(ShowCanvas& canvas, SceneLoader& loader, SceneRotation rotation,
                     std::uint32_t seed, std::uint64_t sceneNs)
    : canvas_(&canvas),
      loader_(loader),
      rotation_(std::move(rotation)),
      seed_(seed),
      sceneNs_(sceneNs) {}

void SaverShow::Restart(std::uint64_t nowNs) {
  running_.reset();
  canvas_->Clear();
  auto running = std::make_unique<LiveShow>();
  if (!loader_.Load(rotation_.Current(), canvas_->Size(), running->show, running->clock) ||
      running->show.engine == nullptr) {
    canvas_->PaintBanner();
    bannerEndsNs_ = nowNs + kBannerNs;
    return;
  }
  running->show.random.Seed(seed_);
  running->paced.emplace(*running->show.engine, running->clock);
  running_ = std::move(running);
}

void SaverShow::MoveTo(ShowCanvas& canvas, std::uint64_t nowNs) {
  canvas_ = &canvas;
  Restart(nowNs);
}

void SaverShow::Next(std::uint64_t nowNs) {
  rotation_.Next();
  seed_ += kSeedStep;
  Restart(nowNs);
}

bool SaverShow::TimeIsUp() const {
  return sceneNs_ != 0 && rotation_.Count() > 1 && running_->clock.NowNs() >= sceneNs_;
}

FrameProgress SaverShow::RunFrame(std::uint64_t realNs, std::uint64_t stepNs,
                                  const FrameLimit& limit, NanosecondClock& clock) {
  if (!running_) {
    const std::uint64_t now = clock.NowNs();
    if (now >= bannerEndsNs_)
      Next(now);
    return {};
  }
  PacedShow& paced = *running_->paced;
  const FrameProgress progress = paced.Run(*canvas_, realNs, stepNs, limit, clock);
  if (paced.Finished() || TimeIsUp())
    Next(clock.NowNs());
  return progress;
}

}  // namespace zirvo
