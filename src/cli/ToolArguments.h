// What the command line of every tool gives: the one scene it reads, and the
// settings file and the screen size to read it with; and help. A tool adds its
// own rows to these (see cli/Options.h).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/Options.h"
#include "scene/Settings.h"

namespace zirvo {

struct ToolArguments {
  std::string scene;
  std::optional<std::string> settings;  // --settings; none: zirvo.ini beside the program
  ScreenSize screen{1024, 768};         // --screen
  bool help = false;                    // --help, or "-h" alone
};

// Parses `args` with the tool's own `rows` beside --settings, --screen and
// --help; "--" ends the options. Returns the first mistake ("" when none),
// among them a missing scene or a second one (unless help was asked for).
std::string ParseToolArguments(const std::vector<std::string>& args, std::vector<Option> rows,
                               ToolArguments& tool);

}  // namespace zirvo
