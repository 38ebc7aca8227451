// Writes a picture as an 8-bit RGB PNG.
#pragma once

#include <cstdio>
#include <string>

#include "image/Picture.h"

namespace zirvo {

// Writes `frame` to the open stream (left open). False with `error` set when
// libpng could not write it.
bool WritePng(const Picture& frame, std::FILE* out, std::string& error);

}  // namespace zirvo
