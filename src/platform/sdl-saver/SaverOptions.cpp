#include "platform/sdl-saver/SaverOptions.h"

#include <charconv>

#include "app/FramePacer.h"
#include "cli/OptionValues.h"
#include "cli/Options.h"

namespace zirvo::saver {

const char* const kSaverUsage =
    "Usage: zirvo-saver [MODE] [--scene FILE]... [--scenes DIR] [OPTIONS]\n"
    "Zirvo as a screensaver, and a live preview for scene writers.\n"
    "\n"
    "Mode (one of them; the default is --window):\n"
    "  --root             draw on the window in XSCREENSAVER_WINDOW, else on the root\n"
    "  --window-id ID     draw on the window ID (hex 0x... or decimal)\n"
    "  --window           an ordinary resizable window\n"
    "  --fullscreen       a borderless full-screen window on the first monitor\n"
    "  --monitor N        ... on monitor N (0 is the first)\n"
    "  --all-monitors     ... with a show on every monitor\n"
    "\n"
    "Scenes (none given: the installed sample scenes):\n"
    "  --scene FILE       a scene to show (repeatable)\n"
    "  --scenes DIR       every *.zrv file in DIR\n"
    "  --watch FILE       show FILE and start again whenever it or its settings are\n"
    "                     saved, printing what zirvo-check says about it\n"
    "\n"
    "Options:\n"
    "  --speed F          speed factor (default 1: zirvo's calibrated speed)\n"
    "  --delay US         microseconds between frames (default: the display's refresh)\n"
    "  --fps              show frames and turns per second in a corner\n"
    "  --seed N           random seed (default: from the clock)\n"
    "  --settings FILE    settings file (default: the zirvo.ini zirvo reads)\n"
    "  --stats            print frames, turns and pixels so far on stderr once a second\n"
    "  --help             this text\n"
    "\n"
    "Each option may be written with one dash or two. In a window of its own:\n"
    "Space pauses, Up and Down change the speed, R restarts, S saves a PNG beside\n"
    "the scene, Escape or Q closes.\n";

namespace {

constexpr std::uint64_t kMinFrameUs = 1000;
constexpr std::uint64_t kMaxFrameUs = 1000000;

}  // namespace

std::optional<std::uint64_t> ParseWindowId(const std::string& text) {
  const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  const char* first = text.data() + (hex ? 2 : 0);
  const char* last = text.data() + text.size();
  if (first == last || *first == '-' || *first == '+')
    return std::nullopt;
  std::uint64_t id = 0;
  const auto [end, error] = std::from_chars(first, last, id, hex ? 16 : 10);
  if (error != std::errc() || end != last || id == 0 || id > 0x1FFFFFFF)
    return std::nullopt;
  return id;
}

ParsedSaverOptions ParseSaverOptions(const std::vector<std::string>& args) {
  ParsedSaverOptions parsed;
  SaverOptions& o = parsed.options;
  auto fail = [&parsed](std::string message) {
    parsed.error = std::move(message);
    return parsed;
  };

  int modes = 0;
  bool monitorOption = false;
  bool fullscreenOption = false;
  const auto mode = [&](const char* name, SaverMode chosen) {
    return Option{name, Option::Takes::kNothing, [&o, &modes, chosen](const std::string&) {
                    o.mode = chosen;
                    ++modes;
                    return std::string();
                  }};
  };
  const std::vector<Option> table = {
      mode("--root", SaverMode::kRoot),
      mode("--window", SaverMode::kWindow),
      {"--window-id", Option::Takes::kValue,
       [&](const std::string& value) {
         const auto id = ParseWindowId(value);
         if (!id)
           return "--window-id needs a window id (0x... or decimal), not '" + value + "'";
         o.mode = SaverMode::kWindowId;
         o.windowId = *id;
         ++modes;
         return std::string();
       }},
      FlagOption("--fullscreen", fullscreenOption),
      {"--monitor", Option::Takes::kValue,
       [&](const std::string& value) {
         const auto number = ParseUnsigned(value, 0, 255);
         if (!number)
           return "--monitor needs a monitor number from 0, not '" + value + "'";
         o.monitor = static_cast<std::uint32_t>(*number);
         monitorOption = true;
         return std::string();
       }},
      {"--all-monitors", Option::Takes::kNothing,
       [&](const std::string&) {
         o.allMonitors = true;
         monitorOption = true;
         return std::string();
       }},
      {"--scene", Option::Takes::kValue,
       [&o](const std::string& value) {
         o.scenes.push_back(value);
         return std::string();
       }},
      {"--scenes", Option::Takes::kValue,
       [&o](const std::string& value) {
         o.sceneDirectories.push_back(value);
         return std::string();
       }},
      {"--watch", Option::Takes::kValue,
       [&o](const std::string& value) {
         if (o.watch)
           return std::string("--watch takes one scene");
         o.watch = value;
         return std::string();
       }},
      {"--speed", Option::Takes::kValue,
       [&o](const std::string& value) {
         const auto speed = ParsePositiveReal(value, FramePacer::kMaxSpeed);
         if (!speed || *speed < FramePacer::kMinSpeed)
           return "--speed needs a number from 0.015625 to 64, not '" + value + "'";
         o.speed = *speed;
         return std::string();
       }},
      {"--delay", Option::Takes::kValue,
       [&o](const std::string& value) {
         const auto us = ParseUnsigned(value, kMinFrameUs, kMaxFrameUs);
         if (!us)
           return "--delay needs microseconds from 1000 to 1000000, not '" + value + "'";
         o.frameUs = *us;
         return std::string();
       }},
      FlagOption("--fps", o.fps),
      {"--seed", Option::Takes::kValue,
       [&o](const std::string& value) {
         const auto seed = ParseUnsigned(value, 0, 0xFFFFFFFFu);
         if (!seed)
           return "--seed needs a number from 0 to 4294967295, not '" + value + "'";
         o.seed = static_cast<std::uint32_t>(*seed);
         return std::string();
       }},
      TextOption("--settings", o.settings),
      FlagOption("--stats", o.stats),
      FlagOption("--help", o.help),
  };
  const auto unexpected = [](const std::string& arg) {
    return "unexpected argument '" + arg + "' (a scene goes after --scene)";
  };
  parsed.error = ParseOptions(args, table, OptionRules{.singleDash = true}, unexpected);
  if (!parsed.error.empty())
    return parsed;

  if (fullscreenOption || monitorOption) {
    if (modes > 0)
      return fail("--fullscreen, --monitor and --all-monitors do not go with another mode");
    o.mode = SaverMode::kFullscreen;
    ++modes;
  }
  if (modes > 1)
    return fail("choose one mode: --root, --window-id, --window or --fullscreen");
  o.modeGiven = modes == 1;
  if (o.allMonitors && o.monitor)
    return fail("--monitor and --all-monitors do not go together");
  if (o.watch && (!o.scenes.empty() || !o.sceneDirectories.empty()))
    return fail("--watch shows its one scene: leave out --scene and --scenes");
  return parsed;
}

}  // namespace zirvo::saver
