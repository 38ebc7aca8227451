// The scenes we ship load with the shipped settings, and the demo ends by
// itself: every kind of it has a stop time.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "engine/Show.h"

namespace zirvo {
namespace {

namespace fs = std::filesystem;

const fs::path kScenes = fs::path(__FILE__).parent_path().parent_path().parent_path() / "scenes";

class NoClock final : public ShowTime {
 public:
  std::uint32_t Elapsed() override { return 0; }
};

int Load(Show& show, const std::string& scene) {
  LoadEnvironment env;
  env.screen = {1280, 1024};
  env.currentDirectory = kScenes.string();
  env.style = PathStyle::kPosix;
  NoClock clock;
  const ProgramArgs args =
      ArgsFromArgv((kScenes / "zirvo").string(), {"zirvo", (kScenes / scene).string()});
  return LoadScene(show, args, env, clock);
}

TEST(SampleScenesTest, EveryShippedSceneLoadsWithTheShippedSettings) {
  int scenes = 0;
  for (const auto& entry : fs::directory_iterator(kScenes)) {
    if (entry.path().extension() != ".zrv")
      continue;
    ++scenes;
    Show show;
    EXPECT_EQ(Load(show, entry.path().filename().string()), 1) << entry.path();
    EXPECT_GE(show.scene.specs.SpecCount, 1) << entry.path();
    // The shipped settings leave the speed to calibration.
    EXPECT_EQ(show.scene.settings.WaitCount, 0u);
  }
  EXPECT_GE(scenes, 3);
}

TEST(SampleScenesTest, TheDemoEndsByItself) {
  Show show;
  ASSERT_EQ(Load(show, "demo"), 1);
  for (int i = 0; i < show.scene.specs.SpecCount; ++i) {
    EXPECT_NE(show.scene.specs[i].stop, 0u) << "kind " << i;
    EXPECT_LE(show.scene.specs[i].stop, 45u) << "kind " << i;
  }
}

}  // namespace
}  // namespace zirvo
