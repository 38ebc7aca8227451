// zirvo.scr's settings: the registry's values read back with their defaults,
// clamps and refusals; which scenes and which settings file a show takes; and
// the settings dialog's lists.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "platform/win32-saver/DialogChoices.h"
#include "platform/win32-saver/ScrScenes.h"
#include "platform/win32-saver/ScrSettings.h"

namespace zirvo::scr {
namespace {

// The registry's behaviour as far as the settings see it: a value is text or
// a number (a read of the other kind finds nothing), and a store may refuse.
class MemoryStore final : public SettingsStore {
 public:
  std::optional<std::string> Text(const char* name) override {
    auto it = texts.find(name);
    return it == texts.end() ? std::nullopt : std::optional<std::string>(it->second);
  }
  std::optional<std::uint32_t> Number(const char* name) override {
    auto it = numbers.find(name);
    return it == numbers.end() ? std::nullopt : std::optional<std::uint32_t>(it->second);
  }
  bool SetText(const char* name, const std::string& value) override {
    if (refuse)
      return false;
    numbers.erase(name);
    texts[name] = value;
    return true;
  }
  bool SetNumber(const char* name, std::uint32_t value) override {
    if (refuse)
      return false;
    texts.erase(name);
    numbers[name] = value;
    return true;
  }

  std::map<std::string, std::string> texts;
  std::map<std::string, std::uint32_t> numbers;
  bool refuse = false;
};

TEST(ScrSettings, NothingStoredReadsAsTheSampleScenesAtZirvosSpeed) {
  MemoryStore store;
  const ScrSettings settings = ReadScrSettings(store);
  EXPECT_EQ(settings.scene, "");
  EXPECT_EQ(settings.speedPercent, 100u);
  EXPECT_DOUBLE_EQ(settings.Speed(), 1.0);
}

TEST(ScrSettings, WrittenSettingsReadBack) {
  MemoryStore store;
  const ScrSettings written{"C:\\scenes\\garden.zrv", 250};
  EXPECT_TRUE(WriteScrSettings(store, written));
  EXPECT_EQ(ReadScrSettings(store), written);
  EXPECT_DOUBLE_EQ(ReadScrSettings(store).Speed(), 2.5);
}

TEST(ScrSettings, SpeedsOutOfRangeAreClamped) {
  MemoryStore store;
  for (const auto& [stored, read] : std::map<std::uint32_t, std::uint32_t>{
           {0, 10}, {9, 10}, {10, 10}, {1000, 1000}, {1001, 1000}, {0xFFFFFFFF, 1000}}) {
    store.numbers[kSpeedValue] = stored;
    EXPECT_EQ(ReadScrSettings(store).speedPercent, read) << stored;
  }
  // Written clamped too, so that what is stored is what is shown.
  WriteScrSettings(store, ScrSettings{"", 5000});
  EXPECT_EQ(store.numbers[kSpeedValue], 1000u);
}

TEST(ScrSettings, ValuesOfTheWrongKindFallBackToTheDefaults) {
  MemoryStore store;
  store.texts[kSpeedValue] = "250";  // a speed typed in as text
  store.numbers[kSceneValue] = 7;    // a scene as a number
  EXPECT_EQ(ReadScrSettings(store), ScrSettings{});
}

TEST(ScrSettings, UnusableSceneTextsFallBackToTheSampleScenes) {
  MemoryStore store;
  // Bytes after a NUL are not part of the name, as Windows reads it.
  store.texts[kSceneValue] = std::string("C:\\a.zrv\0junk", 13);
  EXPECT_EQ(ReadScrSettings(store).scene, "C:\\a.zrv");
  for (const std::string& bad : {std::string("C:\\a\nb.zrv"), std::string("\tC:\\a.zrv"),
                                 std::string(kLongestPath + 1, 'a')}) {
    store.texts[kSceneValue] = bad;
    EXPECT_EQ(ReadScrSettings(store).scene, "") << bad.substr(0, 20);
  }
  store.texts[kSceneValue] = std::string(kLongestPath, 'a');
  EXPECT_EQ(ReadScrSettings(store).scene.size(), kLongestPath);
  // Names beyond ASCII are kept as the system's code page wrote them.
  store.texts[kSceneValue] = "C:\\Sz\xE9nen\\tr\xE4ume.zrv";
  EXPECT_EQ(ReadScrSettings(store).scene, "C:\\Sz\xE9nen\\tr\xE4ume.zrv");
}

TEST(ScrSettings, AStoreThatRefusesIsReported) {
  MemoryStore store;
  store.refuse = true;
  EXPECT_FALSE(WriteScrSettings(store, ScrSettings{}));
}

// Files that exist, by full path.
IsFile FilesAre(std::set<std::string> files) {
  return [files = std::move(files)](const std::string& path) { return files.count(path) > 0; };
}

TEST(ScrScenes, TheChosenSceneWhileItIsThereElseTheSamples) {
  const std::vector<std::string> samples = {"C:\\Zirvo\\demo.zrv", "C:\\Zirvo\\garden.zrv"};
  const IsFile files = FilesAre({"D:\\mine\\storm.zrv"});
  EXPECT_EQ(ScenesToShow(ScrSettings{}, samples, files), samples);
  EXPECT_EQ(ScenesToShow(ScrSettings{"D:\\mine\\storm.zrv", 100}, samples, files),
            (std::vector<std::string>{"D:\\mine\\storm.zrv"}));
  // Deleted since it was chosen, or on a drive that is gone.
  EXPECT_EQ(ScenesToShow(ScrSettings{"E:\\gone.zrv", 100}, samples, files), samples);
  EXPECT_TRUE(ScenesToShow(ScrSettings{"E:\\gone.zrv", 100}, {}, files).empty());
}

TEST(ScrScenes, SettingsBesideTheSaverElseBesideTheScene) {
  const std::string saver = "C:\\Zirvo\\zirvo.scr";
  const std::string scene = "D:\\mine\\storm.zrv";
  EXPECT_EQ(SettingsAnchor(saver, scene, FilesAre({"C:\\Zirvo\\zirvo.ini", "D:\\mine\\zirvo.ini"})),
            saver);
  // Copied alone into the system folder: the scene's folder has one.
  const std::string system = "C:\\Windows\\SysWOW64\\zirvo.scr";
  EXPECT_EQ(SettingsAnchor(system, scene, FilesAre({"D:\\mine\\zirvo.ini"})),
            "D:\\mine\\zirvo.scr");
  // Neither: the saver's own folder, where the load then says the file is missing.
  EXPECT_EQ(SettingsAnchor(system, scene, FilesAre({})), system);
  EXPECT_EQ(SettingsAnchor(system, "storm.zrv", FilesAre({"zirvo.ini"})), system);
  EXPECT_EQ(SettingsAnchor(system, "", FilesAre({})), system);
}

TEST(ScrScenes, FoldersOfWindowsPaths) {
  EXPECT_EQ(FolderOf("C:\\Zirvo\\zirvo.scr"), "C:\\Zirvo\\");
  EXPECT_EQ(FolderOf("D:storm.zrv"), "D:");
  EXPECT_EQ(FolderOf("\\\\server\\share\\a.zrv"), "\\\\server\\share\\");
  EXPECT_EQ(FolderOf("storm.zrv"), "");
}

TEST(DialogChoices, SamplesByNameAfterTheRotationAndTheStoredSceneSelected) {
  const std::vector<std::string> samples = {"C:\\Zirvo\\demo.zrv", "C:\\Zirvo\\garden.zrv"};
  const Choices<std::string> none = SceneChoices("", samples);
  EXPECT_EQ(none.labels, (std::vector<std::string>{kAllSamplesLabel, "demo", "garden"}));
  EXPECT_EQ(none.values, (std::vector<std::string>{"", samples[0], samples[1]}));
  EXPECT_EQ(none.selected, 0u);
  // A sample chosen before, stored in another case.
  EXPECT_EQ(SceneChoices("c:\\zirvo\\GARDEN.zrv", samples).selected, 2u);
  // A file of the user's is listed by its full path, and kept on OK.
  const Choices<std::string> own = SceneChoices("D:\\mine\\storm.zrv", samples);
  ASSERT_EQ(own.values.size(), 4u);
  EXPECT_EQ(own.selected, 3u);
  EXPECT_EQ(own.labels[3], "D:\\mine\\storm.zrv");
}

TEST(DialogChoices, AFileChosenTwiceIsListedOnce) {
  Choices<std::string> choices = SceneChoices("", {"C:\\Zirvo\\demo.zrv"});
  ChooseScene(choices, "D:\\mine\\storm.zrv");
  ChooseScene(choices, "C:\\Zirvo\\Demo.zrv");
  EXPECT_EQ(choices.selected, 1u);
  ChooseScene(choices, "d:\\MINE\\storm.zrv");
  EXPECT_EQ(choices.selected, 2u);
  EXPECT_EQ(choices.values.size(), 3u);
}

TEST(DialogChoices, TheStoredSpeedIsOfferedEvenWhenTheListHasNotGotIt) {
  const Choices<std::uint32_t> usual = SpeedChoices(100);
  EXPECT_EQ(usual.values, OfferedSpeeds());
  EXPECT_EQ(usual.values[usual.selected], 100u);
  EXPECT_EQ(usual.labels[usual.selected], "100% (as zirvo.exe)");
  const Choices<std::uint32_t> odd = SpeedChoices(120);
  EXPECT_EQ(odd.values.size(), OfferedSpeeds().size() + 1);
  EXPECT_EQ(odd.values[odd.selected], 120u);
  EXPECT_TRUE(std::is_sorted(odd.values.begin(), odd.values.end()));
  // Out of range: offered as it will be shown, clamped.
  const Choices<std::uint32_t> fast = SpeedChoices(50000);
  EXPECT_EQ(fast.values[fast.selected], kMaxSpeedPercent);
  EXPECT_EQ(fast.labels.back(), "1000%");
}

}  // namespace
}  // namespace zirvo::scr
