// zirvo-check's command line: the tools' own (cli/ToolArguments.h) and --json.
#pragma once

#include <string>

#include "cli/ToolArguments.h"

namespace zirvo::tools {

struct CheckOptions : ToolArguments {
  bool json = false;
};

using ParsedCheckOptions = ParsedOptions<CheckOptions>;

ParsedCheckOptions ParseCheckOptions(int argc, char** argv);

extern const char* const kCheckUsage;

}  // namespace zirvo::tools
