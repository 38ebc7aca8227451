// The file system seam where there is none (the WebAssembly page): every file
// comes from memory through an opener of the backend's own, and no path names a
// directory.
#include "scene/SystemFiles.h"

namespace zirvo {

bool IsDirectory(const std::string& /*path*/) {
  return false;
}

}  // namespace zirvo
