// The file system seam through the C++ library's file system (Linux, Windows).
#include <filesystem>
#include <system_error>

#include "scene/SystemFiles.h"

namespace zirvo {

bool IsDirectory(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_directory(path, ec);
}

}  // namespace zirvo
