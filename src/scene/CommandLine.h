// Taking the program's command line apart: tokens, the program's directory,
// and the two rule sets (the Windows build's, and the one for systems whose
// file names are case-sensitive and use '/').
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "scene/Diagnostics.h"

namespace zirvo {

enum class PathStyle {
  kWindows,  // backslash (and a leading drive "d:") mark directories; joined with '\'
  kPosix,    // '/' and backslash mark directories, no drives; joined with '/'
};

// The token at the start of `src` after separators (bytes <= 32 as signed char).
// A token in double quotes runs to the next quote and may hold separators; an
// unclosed quote yields no token. `count` receives how many characters of `src`
// the token took: skipped separators, the token and both quotes. Returns 1 when
// a token was found, 0 otherwise.
int NextToken(std::string& dest, const char* src, std::int32_t& count);

// The directory part of `path` (up to and including the last directory marker,
// or a bare drive "d:" on Windows) into `dest`: 1. No directory part: 0, `dest`
// untouched.
int DirectoryOf(std::string& dest, const std::string& path, PathStyle style);

// The directory separator the style uses when it joins paths.
char JoinSeparator(PathStyle style);

// The first two command-line tokens: the program's own path, and the scene name.
struct ProgramArgs {
  bool hasProgram = false;
  std::string program;
  bool hasScene = false;
  std::string scene;
  // When a token is missing: why (no token, or an unclosed quote).
  NoteCode programProblem = NoteCode::kNoProgramPath;
  NoteCode sceneProblem = NoteCode::kNoSceneName;
};

// Windows: the whole command line text, tokenised with NextToken.
ProgramArgs ArgsFromCommandLine(const std::string& commandLine);
// The Windows program's own reading: the command line in lower case, then
// tokenised as above (file names on Windows do not depend on case).
ProgramArgs ArgsFromWindowsCommandLine(std::string commandLine);

// Elsewhere: the executable's real path and the arguments as the system split
// them (argv[1] is the scene; anything after it is ignored).
ProgramArgs ArgsFromArgv(const std::string& programPath, const std::vector<std::string>& args);

}  // namespace zirvo
