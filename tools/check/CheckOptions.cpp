#include "check/CheckOptions.h"

#include "common/ArgList.h"
#include "common/OptionValues.h"

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
    if (name == "--help" || name == "--json") {
      if (args.HasInlineValue())
        return fail(name + " takes no value");
      (name == "--help" ? o.help : o.json) = true;
      continue;
    }
    if (name != "--settings" && name != "--screen")
      return fail("unknown option " + name);
    const auto value = args.TakeValue();
    if (!value)
      return fail(name + " needs a value");
    if (name == "--settings") {
      o.settings = *value;
    } else {
      const auto size = ParseScreenSize(*value);
      if (!size) {
        return fail("the value \"" + *value +
                    "\" of --screen is not understood (expected WxH, each from 1 to 16384, e.g. "
                    "1024x768)");
      }
      o.screen = *size;
    }
  }
  if (!o.help && !haveScene)
    return fail("no scene file given");
  return parsed;
}

}  // namespace zirvo::tools
