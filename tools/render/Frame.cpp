#include "render/Frame.h"

namespace zirvo::tools {

namespace {

Rect NothingTouched(std::int32_t width, std::int32_t height) {
  // Inverted bounds, so the first pixel set makes them its own.
  return Rect{width, height, 0, 0};
}

}  // namespace

Frame::Frame(std::int32_t width, std::int32_t height)
    : width_(width),
      height_(height),
      pixels_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), kBlack),
      dirty_(NothingTouched(width, height)) {}

Rect Frame::TakeDirty() {
  Rect touched = dirty_;
  dirty_ = NothingTouched(width_, height_);
  if (touched.Empty())
    return Rect{};
  return touched;
}

}  // namespace zirvo::tools
