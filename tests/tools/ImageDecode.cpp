#include "ImageDecode.h"

#include <gif_lib.h>
#include <png.h>

#include <functional>

namespace zirvo::testing {

Picture DecodePng(const std::string& path) {
  Picture picture;
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (png_image_begin_read_from_file(&image, path.c_str()) == 0)
    return picture;
  image.format = PNG_FORMAT_RGB;
  std::vector<std::uint8_t> rgb(PNG_IMAGE_SIZE(image));
  if (png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr) == 0)
    return picture;
  picture.width = static_cast<int>(image.width);
  picture.height = static_cast<int>(image.height);
  for (std::size_t at = 0; at + 2 < rgb.size(); at += 3) {
    picture.pixels.push_back((std::uint32_t{rgb[at]} << 16) | (std::uint32_t{rgb[at + 1]} << 8) |
                             rgb[at + 2]);
  }
  return picture;
}

bool ForEachGifPicture(const std::string& path,
                       const std::function<void(const Picture& screen, int delayCs)>& visit) {
  int error = 0;
  GifFileType* gif = DGifOpenFileName(path.c_str(), &error);
  if (gif == nullptr)
    return false;
  if (DGifSlurp(gif) == GIF_ERROR || gif->SColorMap == nullptr) {
    DGifCloseFile(gif, &error);
    return false;
  }
  Picture screen{gif->SWidth, gif->SHeight,
                 std::vector<std::uint32_t>(static_cast<std::size_t>(gif->SWidth) *
                                            static_cast<std::size_t>(gif->SHeight))};
  for (int i = 0; i < gif->ImageCount; ++i) {
    const SavedImage& image = gif->SavedImages[i];
    GraphicsControlBlock control{};
    control.TransparentColor = NO_TRANSPARENT_COLOR;
    DGifSavedExtensionToGCB(gif, i, &control);
    const ColorMapObject* map =
        image.ImageDesc.ColorMap != nullptr ? image.ImageDesc.ColorMap : gif->SColorMap;
    const GifImageDesc& d = image.ImageDesc;
    for (int y = 0; y < d.Height; ++y) {
      for (int x = 0; x < d.Width; ++x) {
        const int index = image.RasterBits[y * d.Width + x];
        if (index == control.TransparentColor)
          continue;
        const GifColorType c = map->Colors[index];
        const auto at =
            static_cast<std::size_t>(d.Top + y) * static_cast<std::size_t>(screen.width) +
            static_cast<std::size_t>(d.Left + x);
        screen.pixels[at] = (std::uint32_t{c.Red} << 16) | (std::uint32_t{c.Green} << 8) | c.Blue;
      }
    }
    visit(screen, control.DelayTime);
  }
  DGifCloseFile(gif, &error);
  return true;
}

Animation DecodeGif(const std::string& path) {
  Animation animation;
  const bool decoded = ForEachGifPicture(path, [&](const Picture& screen, int delayCs) {
    animation.width = screen.width;
    animation.height = screen.height;
    animation.frames.push_back(screen);
    animation.delaysCs.push_back(delayCs);
  });
  if (!decoded)
    return Animation{};
  return animation;
}

}  // namespace zirvo::testing
