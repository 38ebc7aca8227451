// The command line Windows gives a screensaver: the program's path, then one
// switch. /s runs the show; /p HWND shows it inside that window (a preview);
// /c or /c:HWND opens the settings, owned by that window; no switch opens the
// settings too; /a (a password, long gone from Windows) has nothing to do.
// Letters in either case, after '/' or '-'; the window handle after ':' or a
// blank, in decimal as Windows writes it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zirvo::scr {

enum class ScrMode {
  kSettings,  // /c, no switch, or one not understood
  kShow,      // /s
  kPreview,   // /p
  kPassword,  // /a
};

struct ScrCommand {
  ScrMode mode = ScrMode::kSettings;
  // The window handle's value; 0 when none was given or it is not a number.
  std::uint32_t window = 0;
};

// `commandLine` as GetCommandLineA gives it, the program's path first.
ScrCommand ParseScrCommandLine(const std::string& commandLine);

// A window handle written as a decimal number (a sign allowed: some hosts
// write the handle as a signed number). Its low 32 bits, the size of a handle
// a 32-bit program holds; 0 when `text` is not a number that fits 64 bits.
std::uint32_t ParseWindowHandle(std::string_view text);

}  // namespace zirvo::scr
