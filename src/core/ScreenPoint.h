// One pixel with its colour. Virtual coordinates inside the engine and the
// point store, physical ones after mapping. A negative x means "no pixel".
#pragma once

#include <cstdint>

#include "core/Colour.h"

namespace zirvo {

struct ScreenPoint {
  std::int32_t x = -1;
  std::int32_t y = 0;
  COLORREF colour = kBlack;
};

}  // namespace zirvo
