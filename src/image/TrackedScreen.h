// A Framebuffer that remembers which rows changed, so a window that shows it
// converts and copies only those rows at each frame. The drawing thread sets
// pixels while the window thread collects the changes: a row's flag is raised
// after its pixel is stored (release) and taken down before the row is read
// (acquire), so a change is never lost, at worst shown one frame later.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "image/Framebuffer.h"

namespace zirvo {

// Consecutive changed rows: first, first + 1, ..., first + count - 1.
struct RowRun {
  std::int32_t first = 0;
  std::int32_t count = 0;
};

class TrackedScreen final : public PixelSink {
 public:
  // Throws std::bad_alloc when the memory cannot be had.
  TrackedScreen(std::int32_t width, std::int32_t height);
  // The same without exceptions: null when the memory cannot be had.
  static std::unique_ptr<TrackedScreen> Create(std::int32_t width, std::int32_t height);

  void SetPixel(std::int32_t x, std::int32_t y, COLORREF colour) override {
    framebuffer_.SetPixel(x, y, colour);
    if (framebuffer_.Contains(x, y))
      MarkRow(y);
  }
  // What the window paints itself (not counted as the show's pixels).
  void Store(std::int32_t x, std::int32_t y, COLORREF colour) {
    framebuffer_.Store(x, y, colour);
    if (framebuffer_.Contains(x, y))
      MarkRow(y);
  }
  void Fill(COLORREF colour);
  // Counts every row as changed, its pixels as they are: for a window that
  // lost what it showed.
  void MarkAllRows();

  // Takes down the flags of the rows changed since the last call and lists
  // those rows in `runs` (replaced), top to bottom. Returns false when none
  // changed. Only the window thread calls it; the rows listed are read with
  // ConvertRows afterwards.
  bool TakeChangedRows(std::vector<RowRun>& runs);
  // Rows [first, first + count) as 0xAARRGGBB: row first + i at argb + i * pitch
  // (pitch in pixels, at least Width()).
  void ConvertRows(std::int32_t first, std::int32_t count, std::uint32_t* argb,
                   std::size_t pitch) const {
    ConvertRows(first, count, 0, Width(), argb, pitch);
  }
  // Columns [left, right) of those rows: pixel (x, first + i) at
  // argb[i * pitch + x - left].
  // REQUIRES: 0 <= left <= right <= Width().
  void ConvertRows(std::int32_t first, std::int32_t count, std::int32_t left, std::int32_t right,
                   std::uint32_t* argb, std::size_t pitch) const;

  const Framebuffer& Pixels() const { return framebuffer_; }
  std::int32_t Width() const { return framebuffer_.Width(); }
  std::int32_t Height() const { return framebuffer_.Height(); }

  static constexpr std::uint32_t ToArgb(COLORREF colour) {
    return 0xFF000000u | ((colour & 0xFFu) << 16) | (colour & 0xFF00u) | ((colour >> 16) & 0xFFu);
  }

 private:
  void MarkRow(std::int32_t y) {
    // Stored even when already up: skipping it would let the window take down
    // an earlier raise that does not cover this pixel's store.
    dirty_[static_cast<std::size_t>(y)].store(1, std::memory_order_release);
  }

  Framebuffer framebuffer_;
  std::unique_ptr<std::atomic<std::uint8_t>[]> dirty_;
};

}  // namespace zirvo
