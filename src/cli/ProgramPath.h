// What a command-line program asks of its system about itself: where its
// executable really is (its settings file is read beside it) and how the
// system writes paths. One definition per system in src/platform/files/.
#pragma once

#include <string>

#include "scene/CommandLine.h"

namespace zirvo {

// The real path of the running executable (argv0 only when the system cannot
// tell).
std::string RealProgramPath(const char* argv0);

// How this system writes paths: '/' on Linux; backslashes and drives on
// Windows, as zirvo.exe reads them.
PathStyle SystemPathStyle();

}  // namespace zirvo
