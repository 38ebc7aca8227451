// What the settings dialog's two lists hold: the scenes (the sample scenes in
// turn, each sample scene, and a scene file chosen before or just now) and the
// speeds. Whatever is stored stays choosable, so that OK without a change
// writes back what was read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/win32-saver/ScrSettings.h"

namespace zirvo::scr {

template <typename Value>
struct Choices {
  std::vector<std::string> labels;
  std::vector<Value> values;
  std::size_t selected = 0;
};

inline constexpr const char* kAllSamplesLabel = "Sample scenes, each in turn";

// REQUIRES: `samples` holds full paths.
Choices<std::string> SceneChoices(const std::string& stored,
                                  const std::vector<std::string>& samples);
// `chosen` (a file just picked) selected: the entry naming the same file, or a
// new last one.
void ChooseScene(Choices<std::string>& choices, const std::string& chosen);

Choices<std::uint32_t> SpeedChoices(std::uint32_t storedPercent);

// Windows file names do not depend on case (ASCII letters).
bool SamePath(const std::string& a, const std::string& b);

}  // namespace zirvo::scr
