// A program's questions about itself to a POSIX system (cli/ProgramPath.h).
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <vector>

#include "cli/ProgramPath.h"

namespace zirvo {

std::string RealProgramPath(const char* argv0) {
  std::vector<char> buffer(PATH_MAX + 1);
  const auto length = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
  if (length > 0)
    return std::string(buffer.data(), static_cast<std::size_t>(length));
  if (char* resolved = realpath(argv0, nullptr)) {
    std::string path(resolved);
    std::free(resolved);
    return path;
  }
  return argv0;
}

PathStyle SystemPathStyle() {
  return PathStyle::kPosix;
}

}  // namespace zirvo
