// zirvo-render's command line: the tools' own (cli/ToolArguments.h) and the
// run's and the pictures' options, one row each in RenderOptions.cpp.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "cli/ToolArguments.h"
#include "report/TraceLine.h"

namespace zirvo::tools {

struct RenderOptions : ToolArguments {
  std::uint32_t seed = 0;
  std::uint64_t delayUs = kTraceDelayUs;  // simulated length of one Delay
  std::uint64_t limitUs = 60'000'000;     // stop once the clock reaches this
  std::optional<std::string> png;
  std::optional<std::string> gif;
  std::optional<std::string> webp;
  std::optional<std::string> video;   // .webm (VP9) or .mp4 (H.264)
  std::optional<std::string> frames;  // raw RGB frames; "-" is standard output
  std::optional<double> fps;          // none: kGifFps for the GIF, kFrameFps for the rest
  int quality = 50;                   // the video's, 0 to 100
  bool fullChroma = false;            // the video's colours: 4:4:4 rather than 4:2:0
  std::optional<std::string> trace;
  bool quiet = false;

  static constexpr double kGifFps = 10.0;
  static constexpr double kFrameFps = 30.0;
  static constexpr double kLargestGifFps = 50.0;  // its delays are whole hundredths of a second
  static constexpr double kLargestFps = 60.0;
};

using ParsedRenderOptions = ParsedOptions<RenderOptions>;

ParsedRenderOptions ParseRenderOptions(int argc, char** argv);

extern const char* const kRenderUsage;

}  // namespace zirvo::tools
