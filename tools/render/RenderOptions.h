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
  double fps = 10.0;
  std::optional<std::string> trace;
};

using ParsedRenderOptions = ParsedOptions<RenderOptions>;

ParsedRenderOptions ParseRenderOptions(int argc, char** argv);

extern const char* const kRenderUsage;

}  // namespace zirvo::tools
