// zirvo-check's work on one scene: the load as the program does it on the
// system of `style` (with the settings file the options name, if any), its
// notes in reading order, and the end of the show.
#pragma once

#include <string>

#include "check/CheckOptions.h"
#include "check/CheckResult.h"
#include "cli/ToolLoad.h"

namespace zirvo::tools {

CheckResult RunCheck(const CheckOptions& options, const std::string& programPath,
                     PathStyle style = SystemPathStyle());

}  // namespace zirvo::tools
