// The module's exports, the page's only way in (web/src/engine.js calls them).
// Texts cross as bytes: the page writes a file's text into the input buffer,
// and reads results (notes, traces, the banner) from the output buffer. Counts
// cross as doubles, exact up to 2^53.
#include <cstdint>
#include <memory>
#include <string>

#include "app/Banner.h"
#include "platform/web/WebShow.h"

#define ZIRVO_EXPORT(name) extern "C" __attribute__((export_name(#name)))

namespace {

using zirvo::web::LiveShow;
using zirvo::web::ShowInputs;

struct Page {
  std::string input;
  std::string output;
  ShowInputs inputs;
  std::unique_ptr<LiveShow> live;
  zirvo::PacedShow::FrameResult frame;
  zirvo::web::DirtyRect dirty;
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
// one running: 1 when it loaded. Its notes are in the output either way.
ZIRVO_EXPORT(zirvo_load)
std::int32_t ZirvoLoad(std::int32_t width, std::int32_t height, std::uint32_t seed) {
  Page& page = ThePage();
  page.inputs.screen = ScreenOf(width, height);
  page.inputs.seed = seed;
  page.live.reset();
  page.live = std::make_unique<LiveShow>(page.inputs);
  page.output = zirvo::web::NotesJson(page.live->Notes());
  return page.live->Loaded() ? 1 : 0;
}

// Runs the show on by `realNs` of real time, with at most `maxDelays` Delays.
// Returns the turns taken; zirvo_frame_state tells the rest.
ZIRVO_EXPORT(zirvo_frame) double ZirvoFrame(double realNs, double maxDelays) {
  Page& page = ThePage();
  page.frame = {};
  if (!page.live || page.live->Loop() == nullptr || !(realNs > 0) || !(maxDelays >= 1))
    return 0;
  const double longest = static_cast<double>(zirvo::PacedShow::kMaxFrameNs);
  page.frame = page.live->Loop()->RunFrame(
      page.live->Screen(), static_cast<std::uint64_t>(realNs < longest ? realNs : longest),
      static_cast<std::uint64_t>(maxDelays < 1e15 ? maxDelays : 1e15));
  return static_cast<double>(page.frame.turns);
}

// Of the last frame: bit 0 the show has ended by itself, bit 1 the frame ran
// out of Delays before the show caught up with real time.
ZIRVO_EXPORT(zirvo_frame_state) std::int32_t ZirvoFrameState() {
  const Page& page = ThePage();
  return (page.frame.finished ? 1 : 0) | (page.frame.behind ? 2 : 0);
}

// Delays paid in the last frame (turns and pass tops).
ZIRVO_EXPORT(zirvo_frame_delays) double ZirvoFrameDelays() {
  return static_cast<double>(ThePage().frame.delays);
}

// The show's own seconds so far.
ZIRVO_EXPORT(zirvo_show_seconds) double ZirvoShowSeconds() {
  Page& page = ThePage();
  return page.live ? page.live->Clock().Seconds() : 0;
}

ZIRVO_EXPORT(zirvo_set_speed) void ZirvoSetSpeed(double factor) {
  Page& page = ThePage();
  if (page.live && page.live->Loop() != nullptr)
    page.live->Loop()->SetSpeed(factor);
}

// The screen's RGBA pixels, row by row; null when no show was loaded.
ZIRVO_EXPORT(zirvo_pixels) const std::uint32_t* ZirvoPixels() {
  const Page& page = ThePage();
  return page.live ? page.live->Screen().Pixels() : nullptr;
}

// The rectangle set since the last call, as four int32 (left, top, right,
// bottom); empty when right <= left.
ZIRVO_EXPORT(zirvo_take_dirty) const std::int32_t* ZirvoTakeDirty() {
  Page& page = ThePage();
  page.dirty = page.live ? page.live->Screen().TakeDirty() : zirvo::web::DirtyRect{};
  return &page.dirty.left;
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
