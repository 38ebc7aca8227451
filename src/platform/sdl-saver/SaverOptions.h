// zirvo-saver's command line, in the conventions screensaver hosts use: every
// option is taken with one leading dash or two, values follow as the next
// argument or after '='.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cli/Options.h"

namespace zirvo::saver {

enum class SaverMode {
  kWindow,      // an ordinary resizable window of its own
  kRoot,        // XSCREENSAVER_WINDOW's window, else the root window
  kWindowId,    // the window given by its id
  kFullscreen,  // borderless full-screen windows, one monitor or all
};

struct SaverOptions {
  SaverMode mode = SaverMode::kWindow;
  bool modeGiven = false;                     // a mode option was given (else the default)
  std::uint64_t windowId = 0;                 // kWindowId
  std::optional<std::uint32_t> monitor;       // kFullscreen: this one (else the first)
  bool allMonitors = false;                   // kFullscreen: a show on each
  std::vector<std::string> scenes;            // --scene, in order
  std::vector<std::string> sceneDirectories;  // --scenes
  std::optional<std::string> watch;           // --watch: the one scene, restarted when saved
  double speed = 1.0;
  std::optional<std::uint64_t> frameUs;  // --delay; none: the display's refresh
  bool fps = false;
  std::optional<std::uint32_t> seed;
  std::optional<std::string> settings;
  bool stats = false;
  bool help = false;
};

using ParsedSaverOptions = ParsedOptions<SaverOptions>;

// `args` without the program's own name.
ParsedSaverOptions ParseSaverOptions(const std::vector<std::string>& args);

// An X window id written in hex ("0x3a00007") or decimal; nothing when the
// text is not one (X ids are 29 bits, never 0).
std::optional<std::uint64_t> ParseWindowId(const std::string& text);

extern const char* const kSaverUsage;

}  // namespace zirvo::saver
