// What the settings dialog stores and the show reads: the scene file, or the
// sample scenes beside the saver each in turn, and the speed. They live under
// HKEY_CURRENT_USER\Software\Zirvo\Screensaver, reached through SettingsStore
// (the registry on Windows). A value that is missing, of the wrong type or
// unusable reads as its default; a speed out of range is clamped.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zirvo::scr {

inline constexpr const char* kSettingsKey = "Software\\Zirvo\\Screensaver";
inline constexpr const char* kSceneValue = "Scene";  // text: a scene file's full path
inline constexpr const char* kSpeedValue = "Speed";  // number: percent of zirvo's speed

inline constexpr std::uint32_t kDefaultSpeedPercent = 100;
inline constexpr std::uint32_t kMinSpeedPercent = 10;
inline constexpr std::uint32_t kMaxSpeedPercent = 1000;
// Windows' longest path: a longer scene value cannot name a file.
inline constexpr std::size_t kLongestPath = 32767;

struct ScrSettings {
  std::string scene;  // empty: the sample scenes beside the saver, each in turn
  std::uint32_t speedPercent = kDefaultSpeedPercent;

  double Speed() const { return static_cast<double>(speedPercent) / 100.0; }
  bool operator==(const ScrSettings&) const = default;
};

// Where the settings are kept. Reads give nothing for a value that is missing
// or not of the asked type.
class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  // The value's bytes as stored, for a text value.
  virtual std::optional<std::string> Text(const char* name) = 0;
  virtual std::optional<std::uint32_t> Number(const char* name) = 0;
  virtual bool SetText(const char* name, const std::string& value) = 0;
  virtual bool SetNumber(const char* name, std::uint32_t value) = 0;
};

ScrSettings ReadScrSettings(SettingsStore& store);
// Both values, as they will read back. False when the store refused one.
bool WriteScrSettings(SettingsStore& store, const ScrSettings& settings);

std::uint32_t ClampSpeedPercent(std::uint32_t percent);

// The speeds the dialog offers, in percent, slowest first.
const std::vector<std::uint32_t>& OfferedSpeeds();

}  // namespace zirvo::scr
