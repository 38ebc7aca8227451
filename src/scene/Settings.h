// The settings file "zirvo.ini": virtual screen size, scaling, the point store's
// initial capacity and the drawing delay. The scene file may set `screen` and
// `scale` again by the same rules (ApplyScreenOrScale).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "scene/Diagnostics.h"
#include "scene/LineReader.h"

namespace zirvo {

// The physical screen, measured by the platform.
struct ScreenSize {
  std::int32_t ScreenWidth = 0;
  std::int32_t ScreenHeight = 0;
  std::int32_t ScreenMaxX() const { return ScreenWidth - 1; }
  std::int32_t ScreenMaxY() const { return ScreenHeight - 1; }
};

// The line a value came from (empty file: not from a line), kept for notes.
struct SettingSource {
  std::string file;
  std::uint32_t line = 0;
  std::string text;
};

struct Settings {
  std::int32_t VirtWidth = 0;   // 0 stands for the physical width
  std::int32_t VirtHeight = 0;  // 0 stands for the physical height
  std::int32_t Scaling = 1;
  std::int32_t UniformScale = 0;
  std::uint32_t BufferNodes = 65536;
  std::uint32_t WaitCount = 0;  // 0: calibrate at start-up
  // The `screen` line that set the virtual size last; filled only while notes
  // are taken (a Diagnostics is given).
  SettingSource screenSource;
};

enum class KeyResult { kNotThisKey, kApplied, kRejected };

// Applies a `screen` or `scale` line; kNotThisKey for any other key.
KeyResult ApplyScreenOrScale(std::string_view key, std::string_view value, Settings& settings,
                             Diagnostics* diag, const LineOrigin& origin);

// Reads the settings file at `path`. 1 read, 0 failed (cannot open, read error,
// or a rejected value; values set by earlier lines stay set).
int ReadSettings(const std::string& path, const ScreenSize& screen, Settings& settings,
                 Diagnostics* diag = nullptr, FileOpener& opener = DefaultFileOpener());

// Splits a lower-cased line into key and value at its first '='. False when the
// line has no '='.
bool SplitKeyValue(std::string_view line, std::string_view& key, std::string_view& value);

}  // namespace zirvo
