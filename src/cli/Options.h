// Command lines read from a table: each option is a row (its name, whether it
// takes a value, what it does), and one walker takes the arguments apart the
// same way for every program. An option is "--name" ("-name" too where the
// program says so), its value after '=' or as the next argument, whatever
// that argument looks like. A program adds an option by adding a row.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace zirvo {

struct Option {
  enum class Takes { kNothing, kValue };
  // Does what the option says; for a flag `value` is empty. Returns why the
  // value is not understood, or "" when it is.
  using Apply = std::function<std::string(const std::string& value)>;

  std::string name;  // "--settings"
  Takes takes = Takes::kNothing;
  Apply apply;
};

// A command line as read: the options, or why it was not understood.
template <typename Options>
struct ParsedOptions {
  Options options;
  std::string error;  // not empty: the command line was not understood
};

struct OptionRules {
  // "-name" is the option "--name" (the convention of screensaver hosts).
  bool singleDash = false;
  // "--" alone ends the options: every argument after it is positional.
  bool doubleDashEnds = false;
};

// Walks `args` (without the program's own name) in order, applying each option
// and handing every other argument to `positional`, which says why it is not
// understood (or ""). Returns the first mistake, in one line: "unknown option
// --x", "--x needs a value", "--x takes no value", or what a row or
// `positional` said; "" when the whole command line was understood.
std::string ParseOptions(const std::vector<std::string>& args, const std::vector<Option>& table,
                         const OptionRules& rules, const Option::Apply& positional);

// Rows for the plainest options: a flag that sets `flag`, a value kept as it
// is (a file name) in `text`.
Option FlagOption(std::string name, bool& flag);
Option TextOption(std::string name, std::optional<std::string>& text);

// The arguments of main without the program's own name.
std::vector<std::string> ArgumentsOf(int argc, char** argv);

// The tools' words for a value that is not one: the value "V" of --x is not
// understood (expected ...).
std::string ValueNotUnderstood(const std::string& option, const std::string& value,
                               const char* expected);

}  // namespace zirvo
