// The usage banner shown when no scene could be loaded.
#pragma once

namespace zirvo {

// Eight lines separated by CR LF; the first and fourth and sixth are empty.
inline constexpr const char* kBannerText =
    "\r\n"
    "Zirvo contributors, 2026\r\n"
    "Zirvo for Windows, Version 1.0\r\n"
    "\r\n"
    "Usage:  [drive:][path]zirvo[.exe] filename[.zrv]\r\n"
    "\r\n"
    "See file README.TXT in the directory of ZIRVO.EXE\r\n"
    "for a description of parameters and configuration settings.";

inline constexpr int kBannerLines = 8;

// Top edge of the banner block: a little above the middle of the screen.
inline int BannerTop(int screenHeight, int lineHeight) {
  return screenHeight / 2 - 5 * lineHeight;
}

}  // namespace zirvo
