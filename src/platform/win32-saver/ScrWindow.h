// The saver's show on screen. /s: one topmost popup over the whole virtual
// screen, the pointer hidden, a show on each monitor; any key or mouse button,
// a pointer move of more than a few pixels or the loss of activation ends it,
// and Windows' own requests to start a screensaver or to close are refused.
// /p: a child window filling the host's window, one show scaled to it, deaf to
// input; it ends when the host's window goes away.
//
// Both run on the window's thread: the messages waiting, a frame of the saver
// core when one is due, then a wait for the next frame or a message,
// whichever comes first. The window's pixels are a DIB surface; a frame's
// changed pixels go to the window at once, all of them again on WM_PAINT.
#pragma once

#include "platform/win32/WinApi.h"

#include <string>
#include <vector>

#include "platform/win32-saver/ScrSettings.h"

namespace zirvo::scr {

struct ScrSetup {
  HINSTANCE instance = nullptr;
  std::string saverPath;
  ScrSettings settings;
  std::vector<std::string> scenes;  // none: the banner
};

// Each returns the exit code: 0.
int RunFullScreen(const ScrSetup& setup);
// A `parent` that is not a window ends it at once.
int RunPreview(const ScrSetup& setup, HWND parent);

}  // namespace zirvo::scr
