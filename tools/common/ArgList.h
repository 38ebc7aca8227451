// Walks a tool's arguments: "--name value", "--name=value", flags, and the one
// positional argument; "--" ends the options.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace zirvo::tools {

class ArgList {
 public:
  ArgList(int argc, char** argv);

  bool Done() const { return next_ >= args_.size(); }
  // The next argument is an option (begins with "--" and options have not ended).
  bool AtOption() const;
  // Takes the next option's name ("--png" or the part of "--png=x" before '=').
  std::string TakeOption();
  // The option's value: the "=value" part, or the next argument. Nothing when
  // the argument list ends.
  std::optional<std::string> TakeValue();
  // True when the option just taken carried "=value" (a flag must not).
  bool HasInlineValue() const { return inlineValue_.has_value(); }
  // Takes the next argument as a positional one.
  std::string TakePositional();

 private:
  std::vector<std::string> args_;
  std::size_t next_ = 0;
  bool optionsEnded_ = false;
  std::optional<std::string> inlineValue_;
};

}  // namespace zirvo::tools
