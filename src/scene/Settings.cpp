#include "scene/Settings.h"

#include <array>

#include "scene/Numbers.h"
#include "scene/ReadNotes.h"

namespace zirvo {

namespace {

constexpr std::uint32_t kMaxBufferBlocks = 4096;
constexpr std::uint32_t kNodesPerBufferBlock = 65536;

KeyResult ApplyScreen(std::string_view value, Settings& settings, Diagnostics* diag,
                      const LineOrigin& origin) {
  // "%dx%d": the x must follow the first number at once.
  std::size_t used = 0;
  const std::optional<std::int32_t> width = ScanInt(value, &used);
  std::optional<std::int32_t> height;
  if (width && used < value.size() && value[used] == 'x')
    height = ScanInt(value.substr(used + 1));
  if (!width || !height) {
    if (diag != nullptr) {
      diag->Add(Severity::kError, NoteCode::kScreenNeedsTwo, origin,
                "screen needs two numbers like 640x480, with no blank before the x; the load "
                "stops here.");
    }
    return KeyResult::kRejected;
  }
  settings.VirtWidth = *width;
  settings.VirtHeight = *height;
  if (diag != nullptr)
    settings.screenSource = SettingSource{origin.file, origin.line, origin.text};
  return KeyResult::kApplied;
}

KeyResult ApplyScale(std::string_view value, Settings& settings, Diagnostics* diag,
                     const LineOrigin& origin) {
  switch (const char letter = FirstNonSeparator(value)) {
    case 'y':
      settings.Scaling = 1;
      settings.UniformScale = 0;
      return KeyResult::kApplied;
    case 'u':
      settings.Scaling = 1;
      settings.UniformScale = 1;
      return KeyResult::kApplied;
    case 'n':
      settings.Scaling = 0;
      return KeyResult::kApplied;
    case '\0':
      settings.Scaling = 1;
      return KeyResult::kApplied;
    default:
      if (diag != nullptr) {
        diag->Add(Severity::kError, NoteCode::kScaleLetter, origin,
                  "scale value must begin with y, u or n, not '" + std::string(1, letter) +
                      "'; the load stops here.");
      }
      return KeyResult::kRejected;
  }
}

// buffer and wait: "%u"; true when the line was accepted.
bool ApplyBuffer(std::string_view value, Settings& settings, Diagnostics* diag,
                 const LineOrigin& origin) {
  const std::optional<std::uint32_t> blocks = ScanUnsigned(value);
  if (!blocks) {
    if (diag != nullptr) {
      diag->Add(Severity::kError, NoteCode::kBufferNotNumber, origin,
                "buffer needs a number of 65536-node blocks from 0 to 4096; the load stops here.");
    }
    return false;
  }
  if (*blocks > kMaxBufferBlocks) {
    if (diag != nullptr) {
      diag->Add(Severity::kError, NoteCode::kBufferTooBig, origin,
                "buffer above 4096 (" + std::to_string(*blocks) +
                    " blocks of 65536 nodes); the load stops here.");
    }
    return false;
  }
  settings.BufferNodes = *blocks * kNodesPerBufferBlock;
  return true;
}

bool ApplyWait(std::string_view value, Settings& settings, Diagnostics* diag,
               const LineOrigin& origin) {
  const std::optional<std::uint32_t> wait = ScanUnsigned(value);
  if (!wait) {
    if (diag != nullptr) {
      diag->Add(Severity::kError, NoteCode::kWaitNotNumber, origin,
                "wait needs a number of delay repetitions (0 measures the machine); the load "
                "stops here.");
    }
    return false;
  }
  settings.WaitCount = *wait;
  return true;
}

constexpr std::array<std::string_view, 4> kSettingsKeys = {"screen", "scale", "buffer", "wait"};

}  // namespace

bool SplitKeyValue(std::string_view line, std::string_view& key, std::string_view& value) {
  const std::size_t equals = line.find('=');
  if (equals == std::string_view::npos)
    return false;
  key = line.substr(0, equals);
  value = line.substr(equals + 1);
  return true;
}

KeyResult ApplyScreenOrScale(std::string_view key, std::string_view value, Settings& settings,
                             Diagnostics* diag, const LineOrigin& origin) {
  if (key == "screen")
    return ApplyScreen(value, settings, diag, origin);
  if (key == "scale")
    return ApplyScale(value, settings, diag, origin);
  return KeyResult::kNotThisKey;
}

int ReadSettings(const std::string& path, const ScreenSize& screen, Settings& settings,
                 Diagnostics* diag, FileOpener& opener) {
  const FilePtr file(opener.Open(path));
  if (!file) {
    if (diag != nullptr) {
      diag->Add(Severity::kError, NoteCode::kCannotOpen, path, 0, "",
                "cannot open the settings file; it must stand beside the program (or in the "
                "current directory when the program is started by a bare name).");
    }
    return 0;
  }
  LineReader reader(file.get());
  std::string line;
  std::string asWritten;  // the line before lower-casing, for notes
  while (NextLoweredLine(reader, path, line, asWritten, diag)) {
    std::string_view key;
    std::string_view value;
    if (!SplitKeyValue(line, key, value))
      continue;  // a comment
    const LineOrigin origin{path, reader.LineNumber(), asWritten};
    const KeyResult screenOrScale = ApplyScreenOrScale(key, value, settings, diag, origin);
    if (screenOrScale == KeyResult::kRejected)
      return 0;
    if (screenOrScale == KeyResult::kApplied)
      continue;
    if (key == "buffer") {
      if (!ApplyBuffer(value, settings, diag, origin))
        return 0;
    } else if (key == "wait") {
      if (!ApplyWait(value, settings, diag, origin))
        return 0;
    } else if (diag != nullptr) {
      NoteUnknownKey(key, kSettingsKeys.data(), kSettingsKeys.size(), "the line is ignored", origin,
                     *diag);
    }
  }
  if (reader.Failed()) {
    if (diag != nullptr)
      NoteReadError(path, reader.LineNumber(), *diag);
    return 0;
  }
  if (settings.VirtWidth == 0)
    settings.VirtWidth = screen.ScreenWidth;
  if (settings.VirtHeight == 0)
    settings.VirtHeight = screen.ScreenHeight;
  // A virtual screen of the physical size is never scaled, whatever scale said.
  if (settings.VirtWidth == screen.ScreenWidth && settings.VirtHeight == screen.ScreenHeight) {
    settings.Scaling = 0;
  }
  return 1;
}

}  // namespace zirvo
