#include "common/ArgList.h"

namespace zirvo::tools {

ArgList::ArgList(int argc, char** argv) {
  for (int i = 1; i < argc; ++i)
    args_.emplace_back(argv[i]);
}

bool ArgList::AtOption() const {
  if (Done() || optionsEnded_)
    return false;
  const std::string& arg = args_[next_];
  if (arg == "--")
    return true;
  return arg.size() > 2 && arg.compare(0, 2, "--") == 0;
}

std::string ArgList::TakeOption() {
  std::string arg = args_[next_++];
  inlineValue_.reset();
  if (arg == "--") {
    optionsEnded_ = true;
    return arg;
  }
  const auto equals = arg.find('=');
  if (equals != std::string::npos) {
    inlineValue_ = arg.substr(equals + 1);
    arg.resize(equals);
  }
  return arg;
}

std::optional<std::string> ArgList::TakeValue() {
  if (inlineValue_) {
    auto value = std::move(inlineValue_);
    inlineValue_.reset();
    return value;
  }
  if (Done())
    return std::nullopt;
  return args_[next_++];
}

std::string ArgList::TakePositional() {
  return args_[next_++];
}

}  // namespace zirvo::tools
