// The web page's show: the scene and settings texts loaded from memory by the
// loader, as the program loads its two files, and the engine ready to run on a
// simulated clock. The page runs one, paced by its frames through the frame
// pacer (LiveShow); a trace runs a fresh one as fast as it can, exactly as
// zirvo-render does.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "app/Clocks.h"
#include "app/FramePacer.h"
#include "app/PacedShow.h"
#include "engine/PixelSink.h"
#include "engine/Show.h"
#include "engine/SimulatedClock.h"
#include "scene/Diagnostics.h"
#include "scene/MemoryFiles.h"

namespace zirvo::web {

// What the page shows: the two files' texts, the screen and the random seed.
struct ShowInputs {
  std::string scene;
  std::string settings;
  ScreenSize screen{1024, 768};
  std::uint32_t seed = 1;
};

// The names the notes give the two files.
inline constexpr const char* kSceneName = "scene.zrv";
inline constexpr const char* kSettingsName = "zirvo.ini";

// A screen size the page can show: each side from 1 to 16384.
bool ScreenUsable(const ScreenSize& screen);

class WebShow {
 public:
  // Loads the inputs; Loaded() tells whether the show can run. The clock's
  // steps take `stepNs`.
  // REQUIRES: ScreenUsable(inputs.screen).
  WebShow(const ShowInputs& inputs, std::uint64_t stepNs);
  WebShow(const WebShow&) = delete;
  WebShow& operator=(const WebShow&) = delete;

  bool Loaded() const { return show_.engine != nullptr; }
  // The loader's notes, in reading order, naming the files kSceneName and
  // kSettingsName.
  const Diagnostics& Notes() const { return notes_; }
  // REQUIRES: Loaded().
  Engine& engine() { return *show_.engine; }
  SimulatedClock& clock() { return clock_; }

 private:
  MemoryFiles files_;
  SimulatedClock clock_;
  Show show_;
  Diagnostics notes_;
};

// The notes as a JSON array of zirvo-check's note objects, each with one more
// field, "shown": the note as zirvo-check prints it.
std::string NotesJson(const Diagnostics& notes);

// The show on the page, drawing on `screen` (the page's RgbaScreen of the
// inputs' size), paced by the frame pacer at the page's frame rate (60 Hz) on
// `clock`. The page takes a frame at each of its animation frames; the pacer
// measures the real time between them.
class LiveShow final : private FramedShow {
 public:
  // REQUIRES: ScreenUsable(inputs.screen).
  LiveShow(const ShowInputs& inputs, PixelSink& screen, NanosecondClock& clock);

  bool Loaded() const { return show_.Loaded(); }
  const Diagnostics& Notes() const { return show_.Notes(); }
  FramePacer& Pacer() { return pacer_; }
  // The show's own seconds so far.
  double ShowSeconds() const { return paced_ ? paced_->Seconds() : 0.0; }
  bool Finished() const { return paced_ && paced_->Finished(); }

  // One frame: the Delays the real time since the last one buys, within the
  // frame's deadline and `limit`.
  FrameWork Frame(const FrameLimit& limit = {}) { return pacer_.RunFrame(limit); }

 private:
  FrameProgress RunFrame(std::uint64_t realNs, std::uint64_t stepNs, const FrameLimit& limit,
                         NanosecondClock& clock) override;

  WebShow show_;
  PixelSink& screen_;
  std::optional<PacedShow> paced_;  // once the scene has loaded
  FramePacer pacer_;
};

// zirvo-render's trace of a fresh show of `inputs` on its default clock
// (kTraceDelayUs a Delay), `seconds` long (or until the show ends by itself):
// at most `maxLines` lines, the ones it begins with. Empty when the scene does
// not load.
// REQUIRES: ScreenUsable(inputs.screen), seconds > 0.
std::string TraceShow(const ShowInputs& inputs, double seconds, std::uint64_t maxLines);

}  // namespace zirvo::web
