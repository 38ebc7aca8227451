#include "platform/sdl-saver/SaverOptions.h"

#include <charconv>

#include "common/OptionValues.h"

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

constexpr double kMinSpeed = 1.0 / 64;
constexpr double kMaxSpeed = 64.0;
constexpr std::uint64_t kMinFrameUs = 1000;
constexpr std::uint64_t kMaxFrameUs = 1000000;

// One option as written: its name in the two-dash form, and a value given
// after '='.
struct OptionWord {
  std::string name;
  std::optional<std::string> inlineValue;
};

// "-root", "--root", "-delay=10000": an option. Nothing for an argument that is
// not one ("-" alone, or no dash).
std::optional<OptionWord> AsOption(const std::string& arg) {
  std::size_t dashes = 0;
  while (dashes < 2 && dashes < arg.size() && arg[dashes] == '-')
    ++dashes;
  if (dashes == 0 || arg.size() == dashes)
    return std::nullopt;
  OptionWord word;
  const std::string body = arg.substr(dashes);
  const auto equals = body.find('=');
  word.name = "--" + body.substr(0, equals);
  if (equals != std::string::npos)
    word.inlineValue = body.substr(equals + 1);
  return word;
}

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
  for (std::size_t next = 0; next < args.size();) {
    const std::optional<OptionWord> word = AsOption(args[next++]);
    if (!word)
      return fail("unexpected argument '" + args[next - 1] + "' (a scene goes after --scene)");
    const std::string& name = word->name;
    const bool isFlag = name == "--root" || name == "--window" || name == "--fullscreen" ||
                        name == "--all-monitors" || name == "--fps" || name == "--stats" ||
                        name == "--help";
    if (isFlag) {
      if (word->inlineValue)
        return fail(name + " takes no value");
      if (name == "--root") {
        o.mode = SaverMode::kRoot;
        ++modes;
      } else if (name == "--window") {
        o.mode = SaverMode::kWindow;
        ++modes;
      } else if (name == "--fullscreen") {
        fullscreenOption = true;
      } else if (name == "--all-monitors") {
        o.allMonitors = true;
        monitorOption = true;
      } else if (name == "--fps") {
        o.fps = true;
      } else if (name == "--stats") {
        o.stats = true;
      } else {
        o.help = true;
      }
      continue;
    }
    const bool takesValue = name == "--window-id" || name == "--monitor" || name == "--scene" ||
                            name == "--scenes" || name == "--watch" || name == "--speed" ||
                            name == "--delay" || name == "--seed" || name == "--settings";
    if (!takesValue)
      return fail("unknown option " + name);
    std::optional<std::string> value = word->inlineValue;
    if (!value && next < args.size())
      value = args[next++];
    if (!value)
      return fail(name + " needs a value");
    if (name == "--window-id") {
      const auto id = ParseWindowId(*value);
      if (!id)
        return fail("--window-id needs a window id (0x... or decimal), not '" + *value + "'");
      o.mode = SaverMode::kWindowId;
      o.windowId = *id;
      ++modes;
    } else if (name == "--monitor") {
      const auto number = tools::ParseUnsigned(*value, 0, 255);
      if (!number)
        return fail("--monitor needs a monitor number from 0, not '" + *value + "'");
      o.monitor = static_cast<std::uint32_t>(*number);
      monitorOption = true;
    } else if (name == "--scene") {
      o.scenes.push_back(*value);
    } else if (name == "--scenes") {
      o.sceneDirectories.push_back(*value);
    } else if (name == "--watch") {
      if (o.watch)
        return fail("--watch takes one scene");
      o.watch = *value;
    } else if (name == "--speed") {
      const auto speed = tools::ParsePositiveReal(*value, kMaxSpeed);
      if (!speed || *speed < kMinSpeed)
        return fail("--speed needs a number from 0.015625 to 64, not '" + *value + "'");
      o.speed = *speed;
    } else if (name == "--delay") {
      const auto us = tools::ParseUnsigned(*value, kMinFrameUs, kMaxFrameUs);
      if (!us)
        return fail("--delay needs microseconds from 1000 to 1000000, not '" + *value + "'");
      o.frameUs = *us;
    } else if (name == "--seed") {
      const auto seed = tools::ParseUnsigned(*value, 0, 0xFFFFFFFFu);
      if (!seed)
        return fail("--seed needs a number from 0 to 4294967295, not '" + *value + "'");
      o.seed = static_cast<std::uint32_t>(*seed);
    } else {
      o.settings = *value;
    }
  }

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
