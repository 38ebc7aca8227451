// The tools' questions to Windows (see ToolLoad.h).
#include "common/ToolLoad.h"
#include "platform/win32/ModulePath.h"

namespace zirvo::tools {

std::string RealProgramPath(const char* argv0) {
  const std::string path = win32::ModulePath();
  return path.empty() ? std::string(argv0) : path;
}

PathStyle SystemPathStyle() {
  return PathStyle::kWindows;
}

}  // namespace zirvo::tools
