// zirvo-check's command line.
#pragma once

#include <optional>
#include <string>

#include "scene/Settings.h"

namespace zirvo::tools {

struct CheckOptions {
  std::string scene;
  std::optional<std::string> settings;  // none: zirvo.ini beside the program
  ScreenSize screen{1024, 768};
  bool json = false;
  bool help = false;
};

struct ParsedCheckOptions {
  CheckOptions options;
  std::string error;  // not empty: the command line was not understood
};

ParsedCheckOptions ParseCheckOptions(int argc, char** argv);

extern const char* const kCheckUsage;

}  // namespace zirvo::tools
