// Pixels set one by one straight onto the screen, through a device context
// opened on the display device. Nothing is buffered: each pixel shows at once,
// and pixels off the screen are clipped by GDI.
#pragma once

#include "platform/win32/WinApi.h"

#include <cstdint>

#include "engine/PixelSink.h"

namespace zirvo::win32 {

class DisplayDevice final : public PixelSink {
 public:
  DisplayDevice();
  ~DisplayDevice() override;
  DisplayDevice(const DisplayDevice&) = delete;
  DisplayDevice& operator=(const DisplayDevice&) = delete;

  // A failed open leaves a null device; every pixel then fails silently.
  HDC Handle() const { return dc_; }

  void SetPixel(std::int32_t x, std::int32_t y, zirvo::COLORREF colour) override;

 private:
  HDC dc_;
};

}  // namespace zirvo::win32
