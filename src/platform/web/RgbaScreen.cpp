#include "platform/web/RgbaScreen.h"

namespace zirvo::web {

RgbaScreen::RgbaScreen(std::int32_t width, std::int32_t height)
    : width_(width),
      height_(height),
      pixels_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), Rgba(kBlack)) {}

}  // namespace zirvo::web
