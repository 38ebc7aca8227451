// The windows of each mode of zirvo-saver: a host's window (or the root
// window) drawn on as it is, an ordinary window of its own, or a borderless
// full-screen window on each chosen monitor.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/Rect.h"
#include "platform/sdl-saver/SaverOptions.h"
#include "platform/sdl-saver/WindowCanvas.h"
#include "platform/sdl-saver/X11Host.h"
#include "platform/sdl/WindowPixels.h"

struct SDL_Window;

namespace zirvo::saver {

// One SDL window, its picture and the shows' areas on it.
struct SaverWindow {
  SDL_Window* window = nullptr;
  bool foreign = false;  // a host's window: drawn on, never changed
  bool isRoot = false;
  std::uint64_t xid = 0;                 // foreign: the X window
  std::unique_ptr<WindowPixels> pixels;  // the window's way to the display
  std::unique_ptr<WindowCanvas> canvas;
  std::vector<Rect> areas;  // on the canvas, one show each
  bool whole = true;        // the next present shows every pixel
  bool resized = false;
};

// Opens the windows of the options' mode; SDL's video must be running. False,
// with the exit code (2: the window or monitor named does not exist) and why.
bool OpenWindows(const SaverOptions& options, const XDisplayFacts& facts,
                 std::vector<SaverWindow>& targets, int& code, std::string& error);

// "0x3a00007".
std::string Hex(std::uint64_t id);

}  // namespace zirvo::saver
