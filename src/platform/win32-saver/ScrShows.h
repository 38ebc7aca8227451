// What the saver's window shows: a DIB surface the size of the window, one
// show per area of it (a monitor, or the whole preview), and the frame loop
// that runs them at the display's refresh and the chosen speed. The window's
// thread asks for a frame when one is due; the frame's changed pixels go to
// the window at once, all of them again on WM_PAINT.
#pragma once

#include "platform/win32/WinApi.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/FrameLoop.h"
#include "app/FramePacing.h"
#include "app/MonitorLayout.h"
#include "app/SaverShow.h"
#include "platform/win32-saver/DibCanvas.h"
#include "platform/win32-saver/ScrLoader.h"
#include "platform/win32-saver/ScrSettings.h"

namespace zirvo::scr {

struct ScrSetup {
  HINSTANCE instance = nullptr;
  std::string saverPath;
  ScrSettings settings;
  std::vector<std::string> scenes;  // none: the banner
};

class ScrShows {
 public:
  ScrShows(const ScrSetup& setup, MicrosecondClock& clock);

  // A surface of `width` x `height` with a show on each of `areas` (in its
  // coordinates). False when Windows gives no memory for the surface: then
  // there is nothing to show, and the window stays black.
  bool Build(std::int32_t width, std::int32_t height, const std::vector<Rect>& areas);
  bool Built() const { return loop_ != nullptr; }

  // Runs the frame's turns and copies what they changed to `window`.
  // REQUIRES: Built().
  void Frame(HWND window);
  // REQUIRES: Built().
  std::uint64_t NextFrameUs() { return loop_->NextFrameUs(); }
  // `rect` of the window again, as the surface holds it (black before Build).
  void Paint(HDC dc, const RECT& rect) const;

 private:
  std::uint64_t TurnWorth(const std::string& scene, const ScreenSize& size);

  const ScrSetup& setup_;
  MicrosecondClock& clock_;
  ScrLoader loader_;
  std::unique_ptr<DibSurface> surface_;
  std::vector<std::unique_ptr<AreaCanvas>> areas_;
  std::vector<std::unique_ptr<SaverShow>> shows_;
  std::unique_ptr<FrameLoop> loop_;
};

}  // namespace zirvo::scr
