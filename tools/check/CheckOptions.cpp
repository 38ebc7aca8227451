#include "check/CheckOptions.h"

namespace zirvo::tools {

const char* const kCheckUsage =
    "usage: zirvo-check [--settings FILE] [--screen WxH] [--json] SCENE\n"
    "Reads the settings and the scene file as the program does and tells what\n"
    "every line did: whether the scene loads, the warnings, the kinds of swirl\n"
    "as loaded, and whether (and when at the earliest) the show ends by itself.\n"
    "\n"
    "  --settings FILE  settings file (default: zirvo.ini beside zirvo-check)\n"
    "  --screen WxH     physical screen size (default 1024x768)\n"
    "  --json           report for machines, as JSON on stdout\n"
    "  --help           show this text\n"
    "\n"
    "Exit status: 0 loads without warnings, 1 loads with warnings, 2 does not load\n"
    "(or the command line was not understood).\n";

ParsedCheckOptions ParseCheckOptions(int argc, char** argv) {
  ParsedCheckOptions parsed;
  CheckOptions& o = parsed.options;
  parsed.error = ParseToolArguments(ArgumentsOf(argc, argv), {FlagOption("--json", o.json)}, o);
  return parsed;
}

}  // namespace zirvo::tools
