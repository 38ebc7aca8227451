#include "app/SaverShow.h"

#include <utility>

namespace zirvo {

namespace {

// How many turns run between two looks at the real clock: a look costs about
// as much as a turn, a turn well under a microsecond.
constexpr std::uint64_t kTurnsPerClockLook = 32;

// The step between the seeds of successive scenes (the golden ratio's 32-bit
// fraction: successive seeds spread over the whole range).
constexpr std::uint32_t kSeedStep = 0x9E3779B9u;

}  // namespace

SaverShow::SaverShow(ShowCanvas& canvas, SceneLoader& loader, SceneRotation rotation,
                     ShowTiming timing, std::uint32_t seed)
    : canvas_(&canvas),
      loader_(loader),
      rotation_(std::move(rotation)),
      timing_(timing),
      seed_(seed) {}

void SaverShow::Start(std::uint64_t nowUs) {
  running_.reset();
  canvas_->Clear();
  auto running = std::make_unique<LiveShow>(timing_.turnUs);
  if (!loader_.Load(rotation_.Current(), canvas_->Size(), running->show, running->clock) ||
      running->show.engine == nullptr) {
    canvas_->PaintBanner();
    bannerEndsUs_ = nowUs + timing_.bannerUs;
    return;
  }
  running->show.random.Seed(seed_);
  running->stepper = std::make_unique<ShowStepper>(*running->show.engine, running->clock);
  running_ = std::move(running);
}

void SaverShow::MoveTo(ShowCanvas& canvas, std::uint64_t nowUs) {
  canvas_ = &canvas;
  Start(nowUs);
}

void SaverShow::Next(std::uint64_t nowUs) {
  rotation_.Next();
  seed_ += kSeedStep;
  Start(nowUs);
}

bool SaverShow::TimeIsUp(const LiveShow& run) const {
  return timing_.sceneUs != 0 && rotation_.Count() > 1 && run.clock.NowUs() >= timing_.sceneUs;
}

ShowProgress SaverShow::Run(double showUs, std::uint64_t deadlineUs, MicrosecondClock& clock) {
  ShowProgress progress;
  if (!running_) {
    const std::uint64_t now = clock.NowUs();
    if (now >= bannerEndsUs_)
      Next(now);
    return progress;
  }
  LiveShow& run = *running_;
  run.targetUs += showUs;
  while (static_cast<double>(run.clock.NowUs()) < run.targetUs) {
    if (progress.turns % kTurnsPerClockLook == 0 && progress.turns > 0 &&
        clock.NowUs() >= deadlineUs) {
      // Behind: what is not done by the deadline is given up, so that a slow
      // frame does not make the next one longer still.
      run.targetUs = static_cast<double>(run.clock.NowUs());
      progress.behind = true;
      break;
    }
    ++progress.turns;
    if (run.stepper->Step(*canvas_) || TimeIsUp(run)) {
      Next(clock.NowUs());
      break;
    }
  }
  return progress;
}

}  // namespace zirvo
