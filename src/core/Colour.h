// Colours as the display takes them: 0x00BBGGRR, black (0) is the background.
#pragma once

#include <array>
#include <cstdint>

namespace zirvo {

using COLORREF = std::uint32_t;

constexpr COLORREF kBlack = 0x000000;

// The 16-colour table, index 0 black to 15 white. Entry 0 is never drawn with.
inline constexpr std::array<COLORREF, 16> Palette16 = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0x808080,
    0x404040, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
};

constexpr std::uint8_t RedOf(COLORREF c) {
  return static_cast<std::uint8_t>(c & 0xFF);
}
constexpr std::uint8_t GreenOf(COLORREF c) {
  return static_cast<std::uint8_t>((c >> 8) & 0xFF);
}
constexpr std::uint8_t BlueOf(COLORREF c) {
  return static_cast<std::uint8_t>((c >> 16) & 0xFF);
}

}  // namespace zirvo
