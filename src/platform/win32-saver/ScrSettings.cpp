#include "platform/win32-saver/ScrSettings.h"

#include <algorithm>

namespace zirvo::scr {

namespace {

// A stored text as a file name: up to its first NUL (the registry keeps
// whatever bytes it was given, a terminator or not); empty, which stands for
// the default, when it is too long or holds a control character.
std::string SceneFrom(const std::string& stored) {
  std::string scene = stored.substr(0, stored.find('\0'));
  if (scene.size() > kLongestPath)
    return {};
  const bool control = std::any_of(scene.begin(), scene.end(), [](char c) {
    return static_cast<unsigned char>(c) < 32 || c == 127;
  });
  return control ? std::string() : scene;
}

}  // namespace

std::uint32_t ClampSpeedPercent(std::uint32_t percent) {
  return std::clamp(percent, kMinSpeedPercent, kMaxSpeedPercent);
}

ScrSettings ReadScrSettings(SettingsStore& store) {
  ScrSettings settings;
  if (const auto scene = store.Text(kSceneValue))
    settings.scene = SceneFrom(*scene);
  if (const auto speed = store.Number(kSpeedValue))
    settings.speedPercent = ClampSpeedPercent(*speed);
  return settings;
}

bool WriteScrSettings(SettingsStore& store, const ScrSettings& settings) {
  const bool scene = store.SetText(kSceneValue, SceneFrom(settings.scene));
  const bool speed = store.SetNumber(kSpeedValue, ClampSpeedPercent(settings.speedPercent));
  return scene && speed;
}

const std::vector<std::uint32_t>& OfferedSpeeds() {
  static const std::vector<std::uint32_t> speeds = {25, 50, 75, 100, 150, 200, 300, 400};
  return speeds;
}

}  // namespace zirvo::scr
