// What a saver decides, on whatever system it runs: a show on each area it is
// given (each with its own seed and its own rotation of the scenes), the frame
// pacer that runs them at the chosen speed with the Delay the settings' wait
// gives (the calibrated one without), what the keys of its own window do, and
// the texts it shows (--fps) and prints (--stats). A backend (sdl-saver,
// win32-saver) keeps only its native events, windows and presenting: it lays
// out its areas, translates its keys, calls Frame when NextFrameNs comes,
// presents what changed and writes the screenshot it is asked for.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/AreaCanvas.h"
#include "app/Clocks.h"
#include "app/FramePacer.h"
#include "app/FrameRate.h"
#include "app/SaverShow.h"
#include "core/Rect.h"

namespace zirvo {

struct SaverChoices {
  std::vector<std::string> scenes;  // in the order given; none: the banner
  std::uint32_t seed = 0;           // the first area's; the next areas count on from it
  double speed = 1.0;
  std::uint64_t frameNs = FramePacer::kDefaultFrameNs;
};

// One show's place: a rectangle of a surface (the same surface object and
// rectangle are the same place).
struct SaverArea {
  SaverSurface* surface = nullptr;
  Rect rect;
  bool operator==(const SaverArea&) const = default;
};

// The keys a saver's own window answers, as its backend reads them.
enum class SaverKey { kSpace, kUp, kDown, kR, kS, kEscape, kQ, kOther };
// What a key leaves to the backend; the rest the core has done.
enum class SaverRequest { kNothing, kScreenshot, kQuit };

class SaverCore {
 public:
  // Reads the settings file the first scene's load reads, for its wait.
  SaverCore(SceneLoader& loader, SaverChoices choices, NanosecondClock& clock);
  SaverCore(const SaverCore&) = delete;
  SaverCore& operator=(const SaverCore&) = delete;

  // The areas to show on, every surface's together, in order. As many areas
  // as before keep their shows: one on an unchanged area runs on, one on a
  // changed area starts over there. Another number of areas gets new shows,
  // seeded from the first seed again.
  void SetAreas(const std::vector<SaverArea>& areas);

  // One frame of every show (FramePacer::RunFrame).
  FrameWork Frame();
  std::uint64_t NextFrameNs() { return pacer_.NextFrameNs(); }

  // Space pauses and resumes, Up and Down change the speed by zirvo's factor,
  // R starts every show again, S asks for a screenshot, Escape and Q for the end.
  SaverRequest OnKey(SaverKey key);
  // Every show from the start of its scene (a file it shows was saved).
  void RestartAll();

  // After a frame: the --fps text when it changed (at most once a second),
  // "60 fps, 10204 turns/s", with ", speed 1.44" away from speed 1 and
  // ", paused"; empty when it did not change.
  std::string TakeStatus();
  // After a frame: the --stats figures once a second ("ms=... frames=...
  // turns=... pixels=... behind=... speed=... delay_ns=..."); else empty.
  std::string TakeStats();

  // Where a screenshot of `surface` goes: "NAME-N.png" beside the scene its
  // first show shows (scene NAME.zrv), N the first number `exists` says is
  // free. Empty when no show is on `surface`.
  std::string ScreenshotPath(const SaverSurface& surface,
                             const std::function<bool(const std::string&)>& exists) const;

  const FramePacer& Pacer() const { return pacer_; }
  // The show on area `i` of the last SetAreas.
  const SaverShow& ShowOn(std::size_t i) const { return *shows_[i]; }
  std::size_t ShowCount() const { return shows_.size(); }

 private:
  void BuildShows();

  SceneLoader& loader_;
  SaverChoices choices_;
  NanosecondClock& clock_;
  FramePacer pacer_;
  std::vector<SaverArea> areas_;
  std::vector<std::unique_ptr<AreaCanvas>> canvases_;
  std::vector<std::unique_ptr<SaverShow>> shows_;
  FrameRate rate_;
  std::string status_;
  bool statusChanged_ = false;
  std::uint64_t framesBehind_ = 0;
  std::uint64_t retiredPixels_ = 0;  // set on areas given up since
  std::uint64_t nextStatsNs_ = 0;
};

}  // namespace zirvo
