// One show of a saver on one area of the screen (a window, or one monitor of
// it): the scene on show, a PacedShow run by the frame pacer on the scene's own
// clock (whose seconds are real seconds), and what follows when it ends. A show
// that ends by itself, or has had its time in a rotation, clears its area and
// the next scene of its rotation starts; a scene that does not load shows zirvo's usage banner for
// a few seconds, then the next one is tried. So a saver's show never ends.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "app/FramePacer.h"
#include "app/PacedShow.h"
#include "app/SceneRotation.h"
#include "engine/PixelSink.h"
#include "engine/Show.h"
#include "engine/SimulatedClock.h"
#include "scene/Settings.h"

namespace zirvo {

// The area one show draws on. SetPixel takes the area's own coordinates (0, 0
// at its top-left corner) and clips to it.
class ShowCanvas : public PixelSink {
 public:
  virtual ScreenSize Size() const = 0;
  // The whole area black.
  virtual void Clear() = 0;
  // zirvo's usage banner over black, placed on the area as zirvo places it.
  virtual void PaintBanner() = 0;
};

// Loads scenes for shows: where the settings come from, and whom the loader's
// notes are told to, are the caller's.
class SceneLoader {
 public:
  virtual ~SceneLoader() = default;
  // As LoadScene: true when `show` is ready to run on a screen of `size`, its
  // engine on `time`.
  virtual bool Load(const std::string& scene, const ScreenSize& size, Show& show,
                    ShowTime& time) = 0;
  // The settings file a load of `scene` reads.
  virtual std::string SettingsPathFor(const std::string& scene) const = 0;
};

class SaverShow final : public FramedShow {
 public:
  // How long a scene that does not load shows the banner.
  static constexpr std::uint64_t kBannerNs = 5'000'000'000;
  // In a rotation of two or more scenes, the show time after which a scene that
  // has not ended by itself (one that runs until it is stopped) gives way to
  // the next. A scene on its own runs for as long as it runs.
  static constexpr std::uint64_t kSceneNs = 240'000'000'000;

  // `seed` seeds the first scene's random generator; each later scene gets the
  // next seed of a sequence. `sceneNs` is the time a scene has in a rotation
  // (0: until it ends).
  SaverShow(ShowCanvas& canvas, SceneLoader& loader, SceneRotation rotation, std::uint32_t seed,
            std::uint64_t sceneNs = kSceneNs);
  SaverShow(const SaverShow&) = delete;
  SaverShow& operator=(const SaverShow&) = delete;

  // Loads the scene on show and starts it from the beginning, with the seed it
  // started with before: the first start, a restart, a changed file.
  void Restart(std::uint64_t nowNs);
  // The area changed (a new size, a new surface): starts over on `canvas`.
  void MoveTo(ShowCanvas& canvas, std::uint64_t nowNs);
  // The same area through another canvas: the show goes on there.
  void Continue(ShowCanvas& canvas) { canvas_ = &canvas; }

  // Runs the scene on show by `realNs` of real time (PacedShow::Run); when it
  // ends, or once a banner's time is up, the next scene starts.
  FrameProgress RunFrame(std::uint64_t realNs, std::uint64_t stepNs, const FrameLimit& limit,
                         NanosecondClock& clock) override;

  bool Running() const { return running_ != nullptr; }
  const std::string& Scene() const { return rotation_.Current(); }
  ShowCanvas& Canvas() { return *canvas_; }
  // The scene's own seconds since it started (0 for the banner).
  double ShowSeconds() const { return running_ ? running_->paced->Seconds() : 0.0; }

 private:
  // The engine and its clock, built together for every scene.
  struct LiveShow {
    SimulatedClock clock = SimulatedClock::WithStepNs(kCalibratedDelayNs);
    Show show;
    std::optional<PacedShow> paced;  // once the scene has loaded
  };

  // The next scene of the rotation, with the next seed.
  void Next(std::uint64_t nowNs);
  // The running scene has had its time in the rotation.
  bool TimeIsUp() const;

  ShowCanvas* canvas_;
  SceneLoader& loader_;
  SceneRotation rotation_;
  std::uint32_t seed_;
  std::uint64_t sceneNs_;
  std::unique_ptr<LiveShow> running_;
  std::uint64_t bannerEndsNs_ = 0;
};

}  // namespace zirvo
