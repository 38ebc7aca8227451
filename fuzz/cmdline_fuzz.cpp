// The command line: NextToken over the whole text, the two-token split the
// Windows build makes, DirectoryOf under both path styles, and lower-casing.
// Each must stay inside its input and agree with the others.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "core/Ascii.h"
#include "scene/CommandLine.h"
#include "scene/Numbers.h"

namespace {

using zirvo::PathStyle;

// Every token NextToken finds, walking the text as the loader does.
std::vector<std::string> AllTokens(const std::string& text) {
  std::vector<std::string> tokens;
  const char* src = text.c_str();
  const std::size_t length = std::strlen(src);
  std::size_t at = 0;
  std::string token;
  std::int32_t count = -1;
  while (zirvo::NextToken(token, src + at, count) == 1) {
    FUZZ_CHECK(count > 0, "a token took no characters");
    FUZZ_CHECK(at + static_cast<std::size_t>(count) <= length, "a token ran past the end");
    FUZZ_CHECK(token.size() <= static_cast<std::size_t>(count), "token longer than its count");
    FUZZ_CHECK(token.find('\0') == std::string::npos, "NUL inside a token");
    std::size_t first = at;
    while (zirvo::IsSeparator(src[first]))
      ++first;
    if (src[first] == '"') {
      FUZZ_CHECK(token.find('"') == std::string::npos, "a quoted token holds a quote");
      FUZZ_CHECK(first + token.size() + 2 == at + static_cast<std::size_t>(count),
                 "a quoted token's count is not separators + token + 2");
    } else {
      for (char c : token)
        FUZZ_CHECK(!zirvo::IsSeparator(c), "separator inside a bare token");
      FUZZ_CHECK(first + token.size() == at + static_cast<std::size_t>(count),
                 "a bare token's count is not separators + token");
    }
    FUZZ_CHECK(std::memcmp(src + at + static_cast<std::size_t>(count) - token.size() -
                               (src[first] == '"' ? 1 : 0),
                           token.data(), token.size()) == 0,
               "the token is not the text it took");
    tokens.push_back(token);
    at += static_cast<std::size_t>(count);
    FUZZ_CHECK(tokens.size() <= length, "more tokens than characters");
  }
  return tokens;
}

bool IsDirectoryMark(char c, PathStyle style) {
  return c == '\\' || (style == PathStyle::kPosix && c == '/');
}

void CheckDirectoryOf(const std::string& path, PathStyle style) {
  std::string dest = "\x01untouched";
  const int found = zirvo::DirectoryOf(dest, path, style);
  if (found == 0) {
    FUZZ_CHECK(dest == "\x01untouched", "DirectoryOf wrote dest without a directory");
    for (char c : path)
      FUZZ_CHECK(!IsDirectoryMark(c, style), "a directory mark was missed");
    return;
  }
  FUZZ_CHECK(found == 1, "DirectoryOf result is not 0 or 1");
  FUZZ_CHECK(!dest.empty() && path.compare(0, dest.size(), dest) == 0,
             "the directory is not a prefix of the path");
  const bool drive = style == PathStyle::kWindows && dest.size() == 2 && dest[1] == ':';
  FUZZ_CHECK(drive || IsDirectoryMark(dest.back(), style), "directory does not end in a mark");
  for (std::size_t i = dest.size(); i < path.size(); ++i) {
    FUZZ_CHECK(!IsDirectoryMark(path[i], style), "not the last directory mark");
  }
  const char join = zirvo::JoinSeparator(style);
  FUZZ_CHECK(IsDirectoryMark(join, style), "joined with a character that is no directory mark");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string raw(reinterpret_cast<const char*>(data), size);
  // The command line is NUL-terminated text: it ends at the first NUL byte.
  const std::string text(raw.c_str());

  const std::vector<std::string> tokens = AllTokens(text);
  const zirvo::ProgramArgs args = zirvo::ArgsFromCommandLine(text);
  FUZZ_CHECK(args.hasProgram == !tokens.empty(), "program found iff there is a first token");
  if (args.hasProgram)
    FUZZ_CHECK(args.program == tokens[0], "program is not the first token");
  FUZZ_CHECK(args.hasScene == (tokens.size() >= 2), "scene found iff there is a second token");
  if (args.hasScene)
    FUZZ_CHECK(args.scene == tokens[1], "scene is not the second token");
  FUZZ_CHECK(!args.hasScene || args.hasProgram, "a scene without a program");

  for (PathStyle style : {PathStyle::kWindows, PathStyle::kPosix}) {
    CheckDirectoryOf(raw, style);
    for (const std::string& token : tokens)
      CheckDirectoryOf(token, style);
  }

  std::string lowered = raw;
  zirvo::LowerAscii(lowered);
  FUZZ_CHECK(lowered.size() == raw.size(), "lower-casing changed the length");
  for (std::size_t i = 0; i < raw.size(); ++i) {
    const char c = raw[i];
    const char expected = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    FUZZ_CHECK(lowered[i] == expected, "lower-casing touched more than A-Z");
  }

  // Elsewhere the system splits the line: argv[0], then the arguments.
  std::vector<std::string> argv = {"zirvo"};
  argv.insert(argv.end(), tokens.begin(), tokens.end());
  const zirvo::ProgramArgs fromArgv = zirvo::ArgsFromArgv(raw, argv);
  FUZZ_CHECK(fromArgv.hasProgram == !raw.empty(), "argv program found iff there is a path");
  FUZZ_CHECK(fromArgv.program == raw, "argv program path not kept");
  FUZZ_CHECK(fromArgv.hasScene == !tokens.empty(), "argv scene found iff argv[1] exists");
  if (fromArgv.hasScene)
    FUZZ_CHECK(fromArgv.scene == tokens[0], "argv scene is not argv[1]");
  return 0;
}
