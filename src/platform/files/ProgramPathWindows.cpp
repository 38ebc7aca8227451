// A program's questions about itself to Windows (cli/ProgramPath.h).
#include "cli/ProgramPath.h"
#include "platform/win32/ModulePath.h"

namespace zirvo {

std::string RealProgramPath(const char* argv0) {
  const std::string path = win32::ModulePath();
  return path.empty() ? std::string(argv0) : path;
}

PathStyle SystemPathStyle() {
  return PathStyle::kWindows;
}

}  // namespace zirvo
