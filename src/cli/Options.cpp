#include "cli/Options.h"

#include <optional>
#include <utility>

namespace zirvo {

namespace {

// One argument read as an option: its name in the two-dash form, and a value
// given after '='.
struct OptionWord {
  std::string name;
  std::optional<std::string> inlineValue;
};

// "--root", "--delay=10000", and with single dashes "-root": an option.
// Nothing for an argument that is not one ("-" or "--" alone, no dash).
std::optional<OptionWord> AsOption(const std::string& arg, const OptionRules& rules) {
  std::size_t dashes = 0;
  while (dashes < 2 && dashes < arg.size() && arg[dashes] == '-')
    ++dashes;
  if (dashes == 0 || arg.size() == dashes || (dashes == 1 && !rules.singleDash))
    return std::nullopt;
  const std::string body = arg.substr(dashes);
  const auto equals = body.find('=');
  OptionWord word;
  word.name = "--" + body.substr(0, equals);
  if (equals != std::string::npos)
    word.inlineValue = body.substr(equals + 1);
  return word;
}

const Option* Find(const std::vector<Option>& table, const std::string& name) {
  for (const Option& option : table) {
    if (option.name == name)
      return &option;
  }
  return nullptr;
}

}  // namespace

std::string ParseOptions(const std::vector<std::string>& args, const std::vector<Option>& table,
                         const OptionRules& rules, const Option::Apply& positional) {
  bool optionsEnded = false;
  for (std::size_t next = 0; next < args.size();) {
    const std::string& arg = args[next++];
    if (!optionsEnded && rules.doubleDashEnds && arg == "--") {
      optionsEnded = true;
      continue;
    }
    const std::optional<OptionWord> word = optionsEnded ? std::nullopt : AsOption(arg, rules);
    if (!word) {
      if (std::string error = positional(arg); !error.empty())
        return error;
      continue;
    }
    const Option* option = Find(table, word->name);
    if (option == nullptr)
      return "unknown option " + word->name;
    std::string value;
    if (option->takes == Option::Takes::kNothing) {
      if (word->inlineValue)
        return word->name + " takes no value";
    } else if (word->inlineValue) {
      value = *word->inlineValue;
    } else if (next < args.size()) {
      value = args[next++];
    } else {
      return word->name + " needs a value";
    }
    if (std::string error = option->apply(value); !error.empty())
      return error;
  }
  return "";
}

Option FlagOption(std::string name, bool& flag) {
  return {std::move(name), Option::Takes::kNothing, [&flag](const std::string&) {
            flag = true;
            return std::string();
          }};
}

Option TextOption(std::string name, std::optional<std::string>& text) {
  return {std::move(name), Option::Takes::kValue, [&text](const std::string& value) {
            text = value;
            return std::string();
          }};
}

std::vector<std::string> ArgumentsOf(int argc, char** argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i)
    args.emplace_back(argv[i]);
  return args;
}

std::string ValueNotUnderstood(const std::string& option, const std::string& value,
                               const char* expected) {
  return "the value \"" + value + "\" of " + option + " is not understood (expected " + expected +
         ")";
}

}  // namespace zirvo
