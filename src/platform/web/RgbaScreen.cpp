#include "platform/web/RgbaScreen.h"

namespace zirvo::web {

namespace {

// Inverted, so that the first pixel set becomes the whole rectangle.
DirtyRect Nothing(std::int32_t width, std::int32_t height) {
  return DirtyRect{width, height, 0, 0};
}

}  // namespace

RgbaScreen::RgbaScreen(std::int32_t width, std::int32_t height)
    : width_(width),
      height_(height),
      pixels_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), Rgba(kBlack)),
      dirty_(Nothing(width, height)) {}

DirtyRect RgbaScreen::TakeDirty() {
  DirtyRect taken = dirty_;
  if (taken.right <= taken.left)
    taken = DirtyRect{};
  dirty_ = Nothing(width_, height_);
  return taken;
}

}  // namespace zirvo::web
