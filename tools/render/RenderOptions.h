// zirvo-render's command line.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "scene/Settings.h"

namespace zirvo::tools {

struct RenderOptions {
  std::string scene;
  std::optional<std::string> settings;  // none: zirvo.ini beside the program
  ScreenSize screen{1024, 768};
  std::uint32_t seed = 0;
  std::uint64_t delayUs = 100;         // simulated length of one Delay
  std::uint64_t limitUs = 60'000'000;  // stop once the clock reaches this
  std::optional<std::string> png;
  std::optional<std::string> gif;
  double fps = 10.0;
  std::optional<std::string> trace;
  bool help = false;
};

struct ParsedRenderOptions {
  RenderOptions options;
  std::string error;  // not empty: the command line was not understood
};

ParsedRenderOptions ParseRenderOptions(int argc, char** argv);

extern const char* const kRenderUsage;

}  // namespace zirvo::tools
