#include "platform/win32-saver/ScrCommandLine.h"

#include <charconv>

#include "scene/CommandLine.h"

namespace zirvo::scr {

namespace {

// The next token of `rest` (quotes as the program's own command line takes
// them), and `rest` moved past it. False when there is none.
bool TakeToken(std::string_view& rest, std::string& token) {
  const std::string text(rest);
  std::int32_t count = 0;
  if (NextToken(token, text.c_str(), count) == 0)
    return false;
  rest.remove_prefix(static_cast<std::size_t>(count));
  return true;
}

ScrMode ModeOf(char letter) {
  switch (letter >= 'A' && letter <= 'Z' ? static_cast<char>(letter - 'A' + 'a') : letter) {
    case 's':
      return ScrMode::kShow;
    case 'p':
      return ScrMode::kPreview;
    case 'a':
      return ScrMode::kPassword;
    default:
      return ScrMode::kSettings;  // 'c', and anything not understood
  }
}

}  // namespace

std::uint32_t ParseWindowHandle(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  std::uint64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || text.empty())
    return 0;
  if (negative)
    value = 0 - value;  // two's complement, as the handle was written from
  return static_cast<std::uint32_t>(value);
}

ScrCommand ParseScrCommandLine(const std::string& commandLine) {
  ScrCommand command;
  std::string_view rest = commandLine;
  std::string token;
  if (!TakeToken(rest, token))  // the program's own path
    return command;
  // The first word that is a switch: a program path with blanks that its
  // starter did not quote ends up as words before it.
  do {
    if (!TakeToken(rest, token))
      return command;
  } while (token.size() < 2 || (token[0] != '/' && token[0] != '-'));
  command.mode = ModeOf(token[1]);
  if (command.mode == ScrMode::kShow || command.mode == ScrMode::kPassword)
    return command;

  // The handle: after a colon in the same word ("/c:1234"), else the next word.
  std::string handle;
  const std::size_t colon = token.find(':');
  if (colon != std::string::npos)
    handle = token.substr(colon + 1);
  else if (!TakeToken(rest, handle))
    return command;
  command.window = ParseWindowHandle(handle);
  return command;
}

}  // namespace zirvo::scr
