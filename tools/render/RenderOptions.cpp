#include "render/RenderOptions.h"

#include <cmath>
#include <vector>

#include "cli/OptionValues.h"
#include "engine/SimulatedClock.h"
#include "render/VideoWriter.h"

namespace zirvo::tools {

const char* const kRenderUsage =
    "usage: zirvo-render [options] SCENE\n"
    "Runs the show headless on a simulated clock and writes pictures of it.\n"
    "\n"
    "  --settings FILE  settings file (default: zirvo.ini beside zirvo-render)\n"
    "  --screen WxH     physical screen size (default 1024x768)\n"
    "  --seed N         random generator state after seeding (default 0)\n"
    "  --delay-us U     simulated microseconds per Delay (default 100)\n"
    "  --seconds T      stop after T simulated seconds (default 60)\n"
    "  --png FILE       write the last frame as a PNG\n"
    "  --gif FILE       write an animated GIF\n"
    "  --webp FILE      write an animated lossless WebP\n"
    "  --video FILE     write a video: FILE.webm (VP9) or FILE.mp4 (H.264)\n"
    "  --frames FILE    write raw RGB frames (\"-\": standard output)\n"
    "  --fps F          frames per simulated second, up to 60 (default 30; 10 for\n"
    "                   the GIF, which holds at most 50)\n"
    "  --quality Q      the video's quality, 0 to 100 (default 50)\n"
    "  --chroma C       the video's colours: 420 (shared by four pixels, as every\n"
    "                   player expects; the default) or 444 (each pixel its own)\n"
    "  --trace FILE     write every pixel set, one \"X Y rrggbb\" line each\n"
    "  --quiet          no progress line and no summary\n"
    "  --help           show this text\n";

static_assert(kTraceDelayUs == 100, "the usage text gives the default --delay-us");

ParsedRenderOptions ParseRenderOptions(int argc, char** argv) {
  ParsedRenderOptions parsed;
  RenderOptions& o = parsed.options;
  const std::vector<Option> rows = {
      {"--seed", Option::Takes::kValue,
       [&o](const std::string& value) {
         const auto seed = ParseUnsigned(value, 0, 4294967295u);
         if (!seed)
           return ValueNotUnderstood("--seed", value, "a whole number from 0 to 4294967295");
         o.seed = static_cast<std::uint32_t>(*seed);
         return std::string();
       }},
      {"--delay-us", Option::Takes::kValue,
       [&o](const std::string& value) {
         const auto delay = ParseUnsigned(value, 1, 1000000);
         if (!delay)
           return ValueNotUnderstood("--delay-us", value,
                                     "a whole number of microseconds, 1 to 1000000");
         o.delayUs = *delay;
         return std::string();
       }},
      {"--seconds", Option::Takes::kValue,
       [&o](const std::string& value) {
         const auto seconds = ParsePositiveReal(value, SimulatedClock::kLongestSeconds);
         if (!seconds)
           return ValueNotUnderstood("--seconds", value,
                                     "a number of seconds above 0, e.g. 60 or 2.5");
         o.limitUs = static_cast<std::uint64_t>(std::llround(*seconds * 1e6));
         if (o.limitUs == 0)
           return ValueNotUnderstood("--seconds", value, "at least one microsecond");
         return std::string();
       }},
      TextOption("--png", o.png),
      TextOption("--gif", o.gif),
      TextOption("--webp", o.webp),
      {"--video", Option::Takes::kValue,
       [&o](const std::string& value) {
         if (!VideoCodecFor(value))
           return ValueNotUnderstood("--video", value,
                                     "a file name ending in .webm (VP9) or .mp4 (H.264)");
         o.video = value;
         return std::string();
       }},
      TextOption("--frames", o.frames),
      {"--fps", Option::Takes::kValue,
       [&o](const std::string& value) {
         const auto fps = ParsePositiveReal(value, RenderOptions::kLargestFps);
         if (!fps)
           return ValueNotUnderstood("--fps", value, "frames per second above 0 and at most 60");
         o.fps = *fps;
         return std::string();
       }},
      {"--quality", Option::Takes::kValue,
       [&o](const std::string& value) {
         const auto quality = ParseUnsigned(value, 0, 100);
         if (!quality)
           return ValueNotUnderstood("--quality", value, "a whole number from 0 to 100");
         o.quality = static_cast<int>(*quality);
         return std::string();
       }},
      {"--chroma", Option::Takes::kValue,
       [&o](const std::string& value) {
         if (value != "420" && value != "444")
           return ValueNotUnderstood("--chroma", value, "420 or 444");
         o.fullChroma = value == "444";
         return std::string();
       }},
      TextOption("--trace", o.trace),
      FlagOption("--quiet", o.quiet),
  };
  parsed.error = ParseToolArguments(ArgumentsOf(argc, argv), rows, o);
  if (parsed.error.empty() && o.gif && o.fps && *o.fps > RenderOptions::kLargestGifFps) {
    parsed.error =
        "--fps above 50 is more than a GIF holds (its delays are whole hundredths of a second)";
  }
  return parsed;
}

}  // namespace zirvo::tools
