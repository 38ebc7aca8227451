#include "render/RenderOptions.h"

#include <cmath>

#include "common/ArgList.h"
#include "common/OptionValues.h"
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

namespace {

// Seconds the simulated clock may run: its whole seconds must fit 32 bits.
constexpr double kLongestRunSeconds = 4000000000.0;

std::string Bad(const std::string& option, const std::string& value, const char* expected) {
  return "the value \"" + value + "\" of " + option + " is not understood (expected " + expected +
         ")";
}

bool IsValueOption(const std::string& name) {
  for (const char* known :
       {"--settings", "--screen", "--seed", "--delay-us", "--seconds", "--png", "--gif", "--webp",
        "--video", "--frames", "--fps", "--quality", "--chroma", "--trace"}) {
    if (name == known)
      return true;
  }
  return false;
}

}  // namespace

ParsedRenderOptions ParseRenderOptions(int argc, char** argv) {
  ParsedRenderOptions parsed;
  RenderOptions& o = parsed.options;
  ArgList args(argc, argv);
  bool haveScene = false;
  auto fail = [&](std::string message) {
    parsed.error = std::move(message);
    return parsed;
  };

  while (!args.Done()) {
    if (!args.AtOption()) {
      std::string arg = args.TakePositional();
      if (arg == "-h") {
        o.help = true;
        continue;
      }
      if (haveScene)
        return fail("more than one scene given (\"" + o.scene + "\", \"" + arg + "\")");
      o.scene = std::move(arg);
      haveScene = true;
      continue;
    }
    const std::string name = args.TakeOption();
    if (name == "--")
      continue;
    if (name == "--help" || name == "--quiet") {
      if (args.HasInlineValue())
        return fail(name + " takes no value");
      (name == "--help" ? o.help : o.quiet) = true;
      continue;
    }
    if (!IsValueOption(name))
      return fail("unknown option " + name);
    const auto value = args.TakeValue();
    if (!value)
      return fail(name + " needs a value");
    if (name == "--settings") {
      o.settings = *value;
    } else if (name == "--screen") {
      const auto size = ParseScreenSize(*value);
      if (!size)
        return fail(Bad(name, *value, "WxH, each from 1 to 16384, e.g. 1024x768"));
      o.screen = *size;
    } else if (name == "--seed") {
      const auto seed = ParseUnsigned(*value, 0, 4294967295u);
      if (!seed)
        return fail(Bad(name, *value, "a whole number from 0 to 4294967295"));
      o.seed = static_cast<std::uint32_t>(*seed);
    } else if (name == "--delay-us") {
      const auto delay = ParseUnsigned(*value, 1, 1000000);
      if (!delay)
        return fail(Bad(name, *value, "a whole number of microseconds, 1 to 1000000"));
      o.delayUs = *delay;
    } else if (name == "--seconds") {
      const auto seconds = ParsePositiveReal(*value, kLongestRunSeconds);
      if (!seconds)
        return fail(Bad(name, *value, "a number of seconds above 0, e.g. 60 or 2.5"));
      o.limitUs = static_cast<std::uint64_t>(std::llround(*seconds * 1e6));
      if (o.limitUs == 0)
        return fail(Bad(name, *value, "at least one microsecond"));
    } else if (name == "--png") {
      o.png = *value;
    } else if (name == "--gif") {
      o.gif = *value;
    } else if (name == "--webp") {
      o.webp = *value;
    } else if (name == "--video") {
      if (!VideoCodecFor(*value))
        return fail(Bad(name, *value, "a file name ending in .webm (VP9) or .mp4 (H.264)"));
      o.video = *value;
    } else if (name == "--frames") {
      o.frames = *value;
    } else if (name == "--fps") {
      const auto fps = ParsePositiveReal(*value, RenderOptions::kLargestFps);
      if (!fps)
        return fail(Bad(name, *value, "frames per second above 0 and at most 60"));
      o.fps = *fps;
    } else if (name == "--quality") {
      const auto quality = ParseUnsigned(*value, 0, 100);
      if (!quality)
        return fail(Bad(name, *value, "a whole number from 0 to 100"));
      o.quality = static_cast<int>(*quality);
    } else if (name == "--chroma") {
      if (*value != "420" && *value != "444")
        return fail(Bad(name, *value, "420 or 444"));
      o.fullChroma = *value == "444";
    } else if (name == "--trace") {
      o.trace = *value;
    }
  }
  if (!o.help && !haveScene)
    return fail("no scene file given");
  if (o.gif && o.fps && *o.fps > RenderOptions::kLargestGifFps) {
    return fail(
        "--fps above 50 is more than a GIF holds (its delays are whole hundredths of a "
        "second)");
  }
  return parsed;
}

}  // namespace zirvo::tools
