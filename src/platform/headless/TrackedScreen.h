// A Framebuffer that remembers which rows changed, so a window that shows it
// copies only those rows at each frame. The drawing thread sets pixels while
// the window thread collects the changes: a row's flag is raised after its
// pixel is stored (release) and taken down before the row is read (acquire),
// so a change is never lost, at worst shown one frame later.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include "platform/headless/Framebuffer.h"

namespace zirvo {

class TrackedScreen final : public PixelSink {
 public:
  TrackedScreen(std::int32_t width, std::int32_t height);

  void SetPixel(std::int32_t x, std::int32_t y, COLORREF colour) override;
  // What the window paints itself (not counted as the show's pixels).
  void Store(std::int32_t x, std::int32_t y, COLORREF colour);
  void Fill(COLORREF colour);

  // Converts every row changed since the last call into `argb` (0xAARRGGBB,
  // Width() pixels per row, the whole screen). Returns false when nothing
  // changed; otherwise [firstRow, lastRow] spans the changed rows.
  bool CollectChanges(std::uint32_t* argb, std::int32_t& firstRow, std::int32_t& lastRow);

  const Framebuffer& Pixels() const { return framebuffer_; }
  std::int32_t Width() const { return framebuffer_.Width(); }
  std::int32_t Height() const { return framebuffer_.Height(); }

  static std::uint32_t ToArgb(COLORREF colour) {
    return 0xFF000000u | (static_cast<std::uint32_t>(RedOf(colour)) << 16) |
           (static_cast<std::uint32_t>(GreenOf(colour)) << 8) | BlueOf(colour);
  }

 private:
  void MarkRow(std::int32_t y) {
    if (y >= 0 && y < framebuffer_.Height()) {
      dirty_[static_cast<std::size_t>(y)].store(1, std::memory_order_release);
    }
  }

  Framebuffer framebuffer_;
  std::unique_ptr<std::atomic<std::uint8_t>[]> dirty_;
};

}  // namespace zirvo
