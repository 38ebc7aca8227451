// One show of a saver on one area of the screen (a window, or one monitor of
// it): the scene on show, paced by frames, and what follows when it ends. A show
// that ends by itself, or has had its time in a rotation, clears its area and
// the next scene of its rotation starts; a scene that does not load shows
// zirvo's usage banner for a few seconds, then the next one is tried. So a
// saver's show never ends.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "app/FramePacing.h"
#include "app/SceneRotation.h"
#include "app/ShowStepper.h"
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
};

struct ShowTiming {
  std::uint64_t turnUs = kCalibratedTurnUs;  // what one Delay is worth
  std::uint64_t bannerUs = 5'000'000;        // how long a scene that does not load shows the banner
  // In a rotation of two or more scenes, the show time after which a scene that
  // has not ended by itself (one that runs until it is stopped) gives way to the
  // next; 0 for none. A scene on its own runs for as long as it runs.
  std::uint64_t sceneUs = 240'000'000;
};

// What one show did in one frame.
struct ShowProgress {
  std::uint64_t turns = 0;  // Delays run
  bool behind = false;      // stopped at the deadline before the clock caught up
};

class SaverShow {
 public:
  // `seed` seeds the first scene's random generator; each later scene gets the
  // next seed of a sequence.
  SaverShow(ShowCanvas& canvas, SceneLoader& loader, SceneRotation rotation, ShowTiming timing,
            std::uint32_t seed);
  SaverShow(const SaverShow&) = delete;
  SaverShow& operator=(const SaverShow&) = delete;

  // Loads the scene on show and starts it from the beginning, with the seed it
  // started with before: the first start, a restart, a changed file.
  void Start(std::uint64_t nowUs);
  // The area changed (a new size, a new surface): starts over on `canvas`.
  void MoveTo(ShowCanvas& canvas, std::uint64_t nowUs);

  // Runs the show `showUs` further in its own time, turn by turn, or until the
  // real clock reaches `deadlineUs` (then the time not caught up is given up).
  ShowProgress Run(double showUs, std::uint64_t deadlineUs, MicrosecondClock& clock);

  bool Running() const { return running_ != nullptr; }
  const std::string& Scene() const { return rotation_.Current(); }
  ShowCanvas& Canvas() { return *canvas_; }
  // The show's own seconds since its scene started (0 for the banner).
  double ShowSeconds() const { return running_ ? running_->clock.Seconds() : 0.0; }

 private:
  // The engine and its clock, built together for every scene.
  struct LiveShow {
    explicit LiveShow(std::uint64_t turnUs) : clock(turnUs) {}
    SimulatedClock clock;
    Show show;
    std::unique_ptr<ShowStepper> stepper;
    double targetUs = 0;  // where the clock should be by the end of this frame
  };

  // The next scene of the rotation, with the next seed.
  void Next(std::uint64_t nowUs);
  // The running scene has had its time in the rotation (ShowTiming::sceneUs).
  bool TimeIsUp(const LiveShow& run) const;

  ShowCanvas* canvas_;
  SceneLoader& loader_;
  SceneRotation rotation_;
  ShowTiming timing_;
  std::uint32_t seed_;
  std::unique_ptr<LiveShow> running_;
  std::uint64_t bannerEndsUs_ = 0;
};

}  // namespace zirvo
