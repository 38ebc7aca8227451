#include "app/SaverCore.h"

#include <cstdio>
#include <utility>

#include "app/Pacing.h"
#include "scene/Settings.h"

namespace zirvo {

namespace {

// The settings' wait sets the speed as it sets zirvo's: a Delay of that many
// repetitions, measured here. The screen size does not matter to the wait.
std::uint64_t SettingsDelayNs(SceneLoader& loader, const std::vector<std::string>& scenes,
                              NanosecondClock& clock) {
  Settings settings;
  ReadSettings(loader.SettingsPathFor(scenes.empty() ? std::string() : scenes.front()),
               ScreenSize{1024, 768}, settings);
  if (settings.WaitCount == 0)
    return kCalibratedDelayNs;
  return DelayWorthNs(settings.WaitCount, MeasureRepetitionNs(clock));
}

}  // namespace

SaverCore::SaverCore(SceneLoader& loader, SaverChoices choices, NanosecondClock& clock)
    : loader_(loader),
      choices_(std::move(choices)),
      clock_(clock),
      pacer_(clock, choices_.frameNs, SettingsDelayNs(loader, choices_.scenes, clock),
             choices_.speed) {
  // Nothing to show: a rotation of one scene that does not load, the banner.
  if (choices_.scenes.empty())
    choices_.scenes = {""};
}

void SaverCore::SetAreas(const std::vector<SaverArea>& areas) {
  for (const auto& canvas : canvases_)
    retiredPixels_ += canvas->Pixels();
  const bool sameShows = areas.size() == areas_.size() && !shows_.empty();
  const std::vector<SaverArea> before = std::move(areas_);
  areas_ = areas;
  canvases_.clear();
  for (const SaverArea& area : areas_)
    canvases_.push_back(std::make_unique<AreaCanvas>(*area.surface, area.rect));
  if (!sameShows) {
    BuildShows();
    return;
  }
  const std::uint64_t now = clock_.NowNs();
  for (std::size_t i = 0; i < shows_.size(); ++i) {
    if (areas_[i] == before[i]) {
      // The same place: the show goes on, drawing through the new canvas.
      shows_[i]->Continue(*canvases_[i]);
    } else {
      shows_[i]->MoveTo(*canvases_[i], now);
    }
  }
}

void SaverCore::BuildShows() {
  shows_.clear();
  std::vector<FramedShow*> framed;
  for (std::size_t i = 0; i < canvases_.size(); ++i) {
    const std::uint32_t seed = choices_.seed + static_cast<std::uint32_t>(i);
    shows_.push_back(std::make_unique<SaverShow>(*canvases_[i], loader_,
                                                 SceneRotation(choices_.scenes, seed), seed));
    framed.push_back(shows_.back().get());
  }
  pacer_.SetShows(std::move(framed));
  RestartAll();
}

void SaverCore::RestartAll() {
  const std::uint64_t now = clock_.NowNs();
  for (const auto& show : shows_)
    show->Restart(now);
}

FrameWork SaverCore::Frame() {
  const FrameWork work = pacer_.RunFrame();
  framesBehind_ += work.behind ? 1 : 0;
  if (rate_.Add(clock_.NowNs(), work.turns, work.behind)) {
    std::string text = rate_.Text();
    if (pacer_.Speed() != 1.0) {
      char speed[32];
      std::snprintf(speed, sizeof speed, ", speed %.2f", pacer_.Speed());
      text += speed;
    }
    status_ = pacer_.Paused() ? text + ", paused" : text;
    statusChanged_ = true;
  }
  return work;
}

SaverRequest SaverCore::OnKey(SaverKey key) {
  switch (key) {
    case SaverKey::kSpace:
      pacer_.SetPaused(!pacer_.Paused());
      break;
    case SaverKey::kUp:
      pacer_.SpeedUp();
      break;
    case SaverKey::kDown:
      pacer_.SlowDown();
      break;
    case SaverKey::kR:
      RestartAll();
      break;
    case SaverKey::kS:
      return SaverRequest::kScreenshot;
    case SaverKey::kEscape:
    case SaverKey::kQ:
      return SaverRequest::kQuit;
    case SaverKey::kOther:
      break;
  }
  return SaverRequest::kNothing;
}

std::string SaverCore::TakeStatus() {
  if (!statusChanged_)
    return "";
  statusChanged_ = false;
  return status_;
}

std::string SaverCore::TakeStats() {
  const std::uint64_t now = clock_.NowNs();
  if (now < nextStatsNs_)
    return "";
  nextStatsNs_ = now + 1'000'000'000;
  std::uint64_t pixels = retiredPixels_;
  for (const auto& canvas : canvases_)
    pixels += canvas->Pixels();
  char line[256];
  std::snprintf(line, sizeof line,
                "ms=%llu frames=%llu turns=%llu pixels=%llu behind=%llu speed=%.4f delay_ns=%llu",
                static_cast<unsigned long long>(now / 1'000'000),
                static_cast<unsigned long long>(pacer_.Frames()),
                static_cast<unsigned long long>(pacer_.Turns()),
                static_cast<unsigned long long>(pixels),
                static_cast<unsigned long long>(framesBehind_), pacer_.Speed(),
                static_cast<unsigned long long>(pacer_.StepNs()));
  return line;
}

std::string SaverCore::ScreenshotPath(const SaverSurface& surface,
                                      const std::function<bool(const std::string&)>& exists) const {
  const SaverShow* first = nullptr;
  for (std::size_t i = 0; i < areas_.size() && first == nullptr; ++i) {
    if (areas_[i].surface == &surface)
      first = shows_[i].get();
  }
  if (first == nullptr)
    return "";
  // The scene's folder and its name without the extension (".zrv" alone is a
  // name, as a file system library reads it).
  const std::string& scene = first->Scene();
  const std::size_t slash = scene.find_last_of("/\\");
  const std::size_t nameAt = slash == std::string::npos ? 0 : slash + 1;
  std::string stem = scene.substr(nameAt);
  const std::size_t dot = stem.find_last_of('.');
  if (dot != std::string::npos && dot > 0)
    stem.resize(dot);
  const std::string prefix = scene.substr(0, nameAt) + stem + "-";
  for (unsigned n = 1;; ++n) {
    std::string path = prefix + std::to_string(n) + ".png";
    if (!exists(path))
      return path;
  }
}

}  // namespace zirvo
