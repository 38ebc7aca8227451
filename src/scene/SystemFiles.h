// What the file readers ask of the system beyond the C library's streams:
// whether a path names a directory. Implemented per system in
// src/platform/files/.
#pragma once

#include <string>

namespace zirvo {

// True when `path` names a directory; false when it names anything else, or
// nothing, or the system cannot tell.
bool IsDirectory(const std::string& path);

}  // namespace zirvo
