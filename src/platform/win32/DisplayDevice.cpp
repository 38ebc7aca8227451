#include "platform/win32/DisplayDevice.h"

namespace zirvo::win32 {

DisplayDevice::DisplayDevice() : dc_(CreateDCA("DISPLAY", nullptr, nullptr, nullptr)) {}

DisplayDevice::~DisplayDevice() {
  if (dc_ != nullptr)
    DeleteDC(dc_);
}

void DisplayDevice::SetPixel(std::int32_t x, std::int32_t y, zirvo::COLORREF colour) {
  ::SetPixel(dc_, x, y, colour);
}

}  // namespace zirvo::win32
