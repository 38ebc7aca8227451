// Writes a frame as an 8-bit RGB PNG.
#pragma once

#include <cstdio>
#include <string>

#include "render/Frame.h"

namespace zirvo::tools {

// Writes `frame` to the open stream (left open). False with `error` set when
// libpng could not write it.
bool WritePng(const Frame& frame, std::FILE* out, std::string& error);

}  // namespace zirvo::tools
