#include "image/PngWriter.h"

#include <png.h>

#include <cstdint>
#include <vector>

namespace zirvo {

bool WritePng(const Picture& frame, std::FILE* out, std::string& error) {
  const auto width = static_cast<std::size_t>(frame.Width());
  const auto height = static_cast<std::size_t>(frame.Height());
  std::vector<std::uint8_t> rgb(width * height * 3);
  std::size_t at = 0;
  for (std::int32_t y = 0; y < frame.Height(); ++y) {
    for (std::int32_t x = 0; x < frame.Width(); ++x) {
      const COLORREF colour = frame.At(x, y);
      rgb[at++] = RedOf(colour);
      rgb[at++] = GreenOf(colour);
      rgb[at++] = BlueOf(colour);
    }
  }

  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);
  image.format = PNG_FORMAT_RGB;
  const int ok = png_image_write_to_stdio(&image, out, 0, rgb.data(), 0, nullptr);
  if (ok == 0) {
    error = image.message;
    png_image_free(&image);
    return false;
  }
  if (std::fflush(out) != 0) {
    error = "the file could not be written";
    return false;
  }
  return true;
}

}  // namespace zirvo
