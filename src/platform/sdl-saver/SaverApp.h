// zirvo-saver on SDL2 and X11: opens the windows of the chosen mode, puts one
// show on each area (a window, or each monitor of the root window), and runs
// the frame loop: events, the frame's turns, present, sleep until the next
// frame. Ends with 0 on SIGTERM or SIGINT, when the host's window is unmapped
// or destroyed, or when its own window is closed (or Escape or Q).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/sdl-saver/SaverOptions.h"

namespace zirvo::saver {

struct SaverSetup {
  SaverOptions options;
  std::vector<std::string> scenes;      // readable, as they will be loaded
  std::string programPath;              // the real path of zirvo-saver
  std::optional<std::string> settings;  // none: the loader's own rule
};

// Makes SIGTERM and SIGINT end the frame loop (at most a frame and a short
// wait later). Call once, before RunSaver.
void CatchStopSignals();

// Runs until stopped. Returns the exit code: 0 when stopped, 1 when the display
// cannot be used, 2 when the mode's window or monitor does not exist.
int RunSaver(const SaverSetup& setup);

}  // namespace zirvo::saver
