#include "scene/CommandLine.h"

#include <cstring>
#include <limits>

#include "core/Ascii.h"
#include "scene/Numbers.h"

namespace zirvo {

namespace {

std::int32_t ClampCount(std::size_t n) {
  constexpr auto kMax = static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max());
  return static_cast<std::int32_t>(n < kMax ? n : kMax);
}

bool IsAsciiLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// True when the text at `src`, after separators, opens a quote it never closes.
bool OpensUnclosedQuote(const char* src) {
  while (*src != '\0' && IsSeparator(*src))
    ++src;
  return *src == '"' && std::strchr(src + 1, '"') == nullptr;
}

}  // namespace

int NextToken(std::string& dest, const char* src, std::int32_t& count) {
  std::size_t i = 0;
  while (src[i] != '\0' && IsSeparator(src[i]))
    ++i;
  count = ClampCount(i);
  if (src[i] == '\0')
    return 0;
  if (src[i] == '"') {
    const char* closing = std::strchr(src + i + 1, '"');
    if (closing == nullptr)
      return 0;
    const auto length = static_cast<std::size_t>(closing - (src + i + 1));
    dest.assign(src + i + 1, length);
    count = ClampCount(i + length + 2);
    return 1;
  }
  std::size_t end = i;
  while (src[end] != '\0' && !IsSeparator(src[end]))
    ++end;
  dest.assign(src + i, end - i);
  count = ClampCount(end);
  return 1;
}

int DirectoryOf(std::string& dest, const std::string& path, PathStyle style) {
  const char* markers = style == PathStyle::kWindows ? "\\" : "/\\";
  const std::size_t last = path.find_last_of(markers);
  if (last != std::string::npos) {
    dest = path.substr(0, last + 1);
    return 1;
  }
  if (style == PathStyle::kWindows && path.size() >= 2 && path[1] == ':' &&
      IsAsciiLetter(path[0])) {
    dest = path.substr(0, 2);
    return 1;
  }
  return 0;
}

char JoinSeparator(PathStyle style) {
  return style == PathStyle::kWindows ? '\\' : '/';
}

ProgramArgs ArgsFromCommandLine(const std::string& commandLine) {
  ProgramArgs args;
  const char* text = commandLine.c_str();
  std::int32_t count = 0;
  if (NextToken(args.program, text, count) == 0) {
    args.programProblem =
        OpensUnclosedQuote(text) ? NoteCode::kUnclosedQuote : NoteCode::kNoProgramPath;
    // Without the first token there is no telling where the second begins.
    return args;
  }
  args.hasProgram = true;
  const char* rest = text + count;
  if (NextToken(args.scene, rest, count) == 0) {
    args.sceneProblem =
        OpensUnclosedQuote(rest) ? NoteCode::kUnclosedQuote : NoteCode::kNoSceneName;
    return args;
  }
  args.hasScene = true;
  return args;
}

ProgramArgs ArgsFromWindowsCommandLine(std::string commandLine) {
  LowerAscii(commandLine);
  return ArgsFromCommandLine(commandLine);
}

ProgramArgs ArgsFromArgv(const std::string& programPath, const std::vector<std::string>& args) {
  ProgramArgs result;
  result.hasProgram = !programPath.empty();
  result.program = programPath;
  if (args.size() >= 2) {
    result.hasScene = true;
    result.scene = args[1];
  }
  return result;
}

}  // namespace zirvo
