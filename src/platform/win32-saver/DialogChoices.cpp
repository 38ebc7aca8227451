#include "platform/win32-saver/DialogChoices.h"

#include <algorithm>

#include "core/Ascii.h"
#include "platform/win32-saver/ScrScenes.h"

namespace zirvo::scr {

namespace {

// "c:\zirvo\garden.zrv" is listed as "garden".
std::string SampleLabel(const std::string& path) {
  std::string name = path.substr(FolderOf(path).size());
  const std::size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot > 0)
    name.resize(dot);
  return name;
}

std::string SpeedLabel(std::uint32_t percent) {
  std::string label = std::to_string(percent) + "%";
  if (percent == kDefaultSpeedPercent)
    label += " (as zirvo.exe)";
  return label;
}

}  // namespace

bool SamePath(const std::string& a, const std::string& b) {
  std::string lowerA = a;
  std::string lowerB = b;
  LowerAscii(lowerA);
  LowerAscii(lowerB);
  return lowerA == lowerB;
}

Choices<std::string> SceneChoices(const std::string& stored,
                                  const std::vector<std::string>& samples) {
  Choices<std::string> choices;
  choices.labels.push_back(kAllSamplesLabel);
  choices.values.push_back("");
  for (const std::string& sample : samples) {
    choices.labels.push_back(SampleLabel(sample));
    choices.values.push_back(sample);
  }
  if (!stored.empty())
    ChooseScene(choices, stored);
  return choices;
}

void ChooseScene(Choices<std::string>& choices, const std::string& chosen) {
  for (std::size_t i = 1; i < choices.values.size(); ++i) {
    if (SamePath(choices.values[i], chosen)) {
      choices.selected = i;
      return;
    }
  }
  choices.labels.push_back(chosen);
  choices.values.push_back(chosen);
  choices.selected = choices.values.size() - 1;
}

Choices<std::uint32_t> SpeedChoices(std::uint32_t storedPercent) {
  const std::uint32_t stored = ClampSpeedPercent(storedPercent);
  std::vector<std::uint32_t> speeds = OfferedSpeeds();
  if (std::find(speeds.begin(), speeds.end(), stored) == speeds.end())
    speeds.insert(std::upper_bound(speeds.begin(), speeds.end(), stored), stored);
  Choices<std::uint32_t> choices;
  for (std::uint32_t speed : speeds) {
    if (speed == stored)
      choices.selected = choices.values.size();
    choices.labels.push_back(SpeedLabel(speed));
    choices.values.push_back(speed);
  }
  return choices;
}

}  // namespace zirvo::scr
