#include "platform/headless/TrackedScreen.h"

namespace zirvo {

TrackedScreen::TrackedScreen(std::int32_t width, std::int32_t height)
    : framebuffer_(width, height),
      dirty_(std::make_unique<std::atomic<std::uint8_t>[]>(
          static_cast<std::size_t>(framebuffer_.Height()))) {
  for (std::int32_t y = 0; y < framebuffer_.Height(); ++y)
    MarkRow(y);
}

void TrackedScreen::SetPixel(std::int32_t x, std::int32_t y, COLORREF colour) {
  framebuffer_.SetPixel(x, y, colour);
  if (framebuffer_.Contains(x, y))
    MarkRow(y);
}

void TrackedScreen::Store(std::int32_t x, std::int32_t y, COLORREF colour) {
  framebuffer_.Store(x, y, colour);
  if (framebuffer_.Contains(x, y))
    MarkRow(y);
}

void TrackedScreen::Fill(COLORREF colour) {
  framebuffer_.Fill(colour);
  for (std::int32_t y = 0; y < framebuffer_.Height(); ++y)
    MarkRow(y);
}

bool TrackedScreen::CollectChanges(std::uint32_t* argb, std::int32_t& firstRow,
                                   std::int32_t& lastRow) {
  bool any = false;
  const std::int32_t width = framebuffer_.Width();
  for (std::int32_t y = 0; y < framebuffer_.Height(); ++y) {
    if (dirty_[static_cast<std::size_t>(y)].exchange(0, std::memory_order_acquire) == 0)
      continue;
    if (!any)
      firstRow = y;
    lastRow = y;
    any = true;
    std::uint32_t* row = argb + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
    for (std::int32_t x = 0; x < width; ++x)
      row[x] = ToArgb(framebuffer_.GetPixel(x, y));
  }
  return any;
}

}  // namespace zirvo
