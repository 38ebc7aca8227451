// The module's exports, the page's only way in (web/src/engine.js calls them).
// Texts cross as bytes: the page writes a file's text into the input buffer,
// and reads results (notes, traces, the banner) from the output buffer. Counts
// cross as doubles, exact up to 2^53. The pacing is the module's: its frame
// pacer reads the real clock (through WASI, web/src/wasi.js) between the
// page's frames and bounds their work, and the page asks it what speed a
// number of Up presses gives.
#include <cstdint>
#include <memory>
#include <string>

#include "app/Banner.h"
#include "app/Clocks.h"
#include "app/FramePacer.h"
#include "platform/web/RgbaScreen.h"
#include "platform/web/WebShow.h"

#define ZIRVO_EXPORT(name) extern "C" __attribute__((export_name(#name)))

namespace {

using zirvo::web::LiveShow;
using zirvo::web::RgbaScreen;
using zirvo::web::ShowInputs;

struct Page {
  std::string input;
  std::string output;
  ShowInputs inputs;
  zirvo::SteadyClock clock;
  std::unique_ptr<RgbaScreen> screen;
  std::unique_ptr<LiveShow> live;
  int speedSteps = 0;
  bool paused = false;
  zirvo::FrameWork frame;
  zirvo::Rect changed;
};

Page& ThePage() {
  static Page page;
  return page;
}

zirvo::ScreenSize ScreenOf(std::int32_t width, std::int32_t height) {
  zirvo::ScreenSize screen{width, height};
  return zirvo::web::ScreenUsable(screen) ? screen : zirvo::ScreenSize{1024, 768};
}

}  // namespace

// A buffer of `size` bytes for the page to write a text into.
ZIRVO_EXPORT(zirvo_input) char* ZirvoInput(std::uint32_t size) {
  std::string& input = ThePage().input;
  input.assign(size, '\0');
  return input.data();
}

// The input buffer becomes the scene file (0) or the settings file (1).
ZIRVO_EXPORT(zirvo_set_file) void ZirvoSetFile(std::int32_t which) {
  Page& page = ThePage();
  (which == 0 ? page.inputs.scene : page.inputs.settings) = page.input;
}

// Loads a new show of the two files at that screen size and seed, replacing the
// one running (at the speed and pause set before): 1 when it loaded. Its notes
// are in the output either way.
ZIRVO_EXPORT(zirvo_load)
std::int32_t ZirvoLoad(std::int32_t width, std::int32_t height, std::uint32_t seed) {
  Page& page = ThePage();
  page.inputs.screen = ScreenOf(width, height);
  page.inputs.seed = seed;
  page.live.reset();
  page.screen =
      std::make_unique<RgbaScreen>(page.inputs.screen.ScreenWidth, page.inputs.screen.ScreenHeight);
  page.live = std::make_unique<LiveShow>(page.inputs, *page.screen, page.clock);
  page.live->Pacer().SetSpeed(zirvo::FramePacer::SpeedOfSteps(page.speedSteps));
  page.live->Pacer().SetPaused(page.paused);
  page.output = zirvo::web::NotesJson(page.live->Notes());
  return page.live->Loaded() ? 1 : 0;
}

// One frame of the show at the page's animation frame: the real time since
// the last one, within the pacer's frame budget. Returns the turns taken;
// zirvo_frame_state tells the rest.
ZIRVO_EXPORT(zirvo_frame) double ZirvoFrame() {
  Page& page = ThePage();
  page.frame = {};
  if (!page.live)
    return 0;
  page.frame = page.live->Frame();
  return static_cast<double>(page.frame.turns);
}

// Of the last frame: bit 0 the show has ended by itself, bit 1 the frame's
// budget ran out before the show caught up with real time.
ZIRVO_EXPORT(zirvo_frame_state) std::int32_t ZirvoFrameState() {
  const Page& page = ThePage();
  const bool finished = page.live && page.live->Finished();
  return (finished ? 1 : 0) | (page.frame.behind ? 2 : 0);
}

// Delays paid in the last frame (turns and pass tops).
ZIRVO_EXPORT(zirvo_frame_delays) double ZirvoFrameDelays() {
  return static_cast<double>(ThePage().frame.delays);
}

// The show's own seconds so far.
ZIRVO_EXPORT(zirvo_show_seconds) double ZirvoShowSeconds() {
  Page& page = ThePage();
  return page.live ? page.live->ShowSeconds() : 0;
}

// The speed `steps` presses of Up away from zirvo's calibrated one (Down
// when negative), for the show running and the ones loaded later.
ZIRVO_EXPORT(zirvo_set_speed_steps) void ZirvoSetSpeedSteps(std::int32_t steps) {
  Page& page = ThePage();
  page.speedSteps = steps;
  if (page.live)
    page.live->Pacer().SetSpeed(zirvo::FramePacer::SpeedOfSteps(steps));
}

// The speed factor of that many presses: the page's labels.
ZIRVO_EXPORT(zirvo_speed_of_steps) double ZirvoSpeedOfSteps(std::int32_t steps) {
  return zirvo::FramePacer::SpeedOfSteps(steps);
}

// Paused (1) the show stands still and its seconds with it; resumed (0) only
// time from then on counts. Frames go on being taken meanwhile.
ZIRVO_EXPORT(zirvo_set_paused) void ZirvoSetPaused(std::int32_t paused) {
  Page& page = ThePage();
  page.paused = paused != 0;
  if (page.live)
    page.live->Pacer().SetPaused(page.paused);
}

// The screen's RGBA pixels, row by row; null when no show was loaded.
ZIRVO_EXPORT(zirvo_pixels) const std::uint32_t* ZirvoPixels() {
  const Page& page = ThePage();
  return page.screen ? page.screen->Pixels() : nullptr;
}

// The box of pixels set since the last call, as four int32 (x, y, width,
// height); empty when the width is 0.
ZIRVO_EXPORT(zirvo_take_changed) const std::int32_t* ZirvoTakeChanged() {
  Page& page = ThePage();
  page.changed = page.screen ? page.screen->TakeChanged() : zirvo::Rect{};
  return &page.changed.x;
}

// zirvo-render's trace of a fresh show of the two files (see TraceShow) into
// the output; returns its length.
ZIRVO_EXPORT(zirvo_trace)
double ZirvoTrace(std::int32_t width, std::int32_t height, std::uint32_t seed, double seconds,
                  double maxLines) {
  Page& page = ThePage();
  ShowInputs inputs = page.inputs;
  inputs.screen = ScreenOf(width, height);
  inputs.seed = seed;
  page.output.clear();
  if (seconds > 0 && maxLines >= 1) {
    page.output = zirvo::web::TraceShow(
        inputs, seconds, static_cast<std::uint64_t>(maxLines < 1e15 ? maxLines : 1e15));
  }
  return static_cast<double>(page.output.size());
}

// The banner the program shows when no scene could be loaded, into the output.
ZIRVO_EXPORT(zirvo_banner) void ZirvoBanner() {
  ThePage().output = zirvo::kBannerText;
}

ZIRVO_EXPORT(zirvo_output) const char* ZirvoOutput() {
  return ThePage().output.data();
}

ZIRVO_EXPORT(zirvo_output_length) double ZirvoOutputLength() {
  return static_cast<double>(ThePage().output.size());
}
