// The saver's settings dialog (/c, or no switch): the scene (the sample scenes
// beside the saver in turn, one of them, or any scene file through the
// standard open-file dialog) and the speed, read from and stored in the
// registry (RegistryStore) when OK is pressed.
#pragma once

#include "platform/win32/WinApi.h"

namespace zirvo::scr {

// Owned by `owner` when that is a window. Returns the exit code: 0.
int RunSettingsDialog(HINSTANCE instance, HWND owner);

}  // namespace zirvo::scr
