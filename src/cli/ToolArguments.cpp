#include "cli/ToolArguments.h"

#include "cli/OptionValues.h"

namespace zirvo {

std::string ParseToolArguments(const std::vector<std::string>& args, std::vector<Option> rows,
                               ToolArguments& tool) {
  rows.push_back(TextOption("--settings", tool.settings));
  rows.push_back({"--screen", Option::Takes::kValue, [&tool](const std::string& value) {
                    const auto size = ParseScreenSize(value);
                    if (!size)
                      return ValueNotUnderstood("--screen", value,
                                                "WxH, each from 1 to 16384, e.g. 1024x768");
                    tool.screen = *size;
                    return std::string();
                  }});
  rows.push_back(FlagOption("--help", tool.help));
  bool haveScene = false;
  const auto scene = [&](const std::string& arg) {
    if (arg == "-h") {
      tool.help = true;
      return std::string();
    }
    if (haveScene)
      return "more than one scene given (\"" + tool.scene + "\", \"" + arg + "\")";
    tool.scene = arg;
    haveScene = true;
    return std::string();
  };
  const std::string error =
      ParseOptions(args, rows, OptionRules{.singleDash = false, .doubleDashEnds = true}, scene);
  if (!error.empty())
    return error;
  if (!tool.help && !haveScene)
    return "no scene file given";
  return "";
}

}  // namespace zirvo
