// zirvo.scr's pacing, which needs no Windows: the speed its settings dialog
// chose, as the saver core runs it, keeps zirvo's clock (a kind's start and
// stop at zirvo's real seconds, turns per second as the speed says), and the
// display's refresh sets the frames.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/FramePacer.h"
#include "app/SaverCore.h"
#include "platform/win32-saver/ScrChoices.h"
#include "support/ClockRule.h"
#include "support/SceneDirectoryLoader.h"
#include "support/ShowRunner.h"

namespace zirvo::scr {
namespace {

using testing::FakeNanosecondClock;
using testing::TimedRun;

// zirvo.scr at `percent` of zirvo's speed on a 60 Hz display.
TimedRun RunScr(const testing::TempDir& dir, std::uint32_t percent) {
  testing::DirectoryLoader loader(dir, testing::kClockRuleSettings);
  FakeNanosecondClock clock;
  TimedRun run;
  testing::TimedSurface surface(clock.now, run);
  ScrSettings settings;
  settings.speedPercent = percent;
  const SaverChoices choices = ScrChoices(settings, {"scene.zrv"}, 17, 60);
  SaverCore core(loader, choices, clock);
  core.SetAreas({{&surface, Rect{0, 0, 320, 200}}});
  testing::RunUntilTheShowEnds(core, clock, choices.frameNs, run);
  EXPECT_EQ(surface.banners, 0);
  return run;
}

TEST(ScrPacing, TheDialogsSpeedKeepsZirvosClock) {
  // Speeds 1/4, 1 and 4: the dialog's 25, 100 and 400 percent.
  testing::ExpectZirvosClockAtEverySpeed(
      17, FramePacer::FrameNsOfRefresh(60), [](const testing::TempDir& dir, double speed) {
        return RunScr(dir, static_cast<std::uint32_t>(speed * 100));
      });
}

TEST(ScrPacing, ChoicesFollowTheSettingsAndTheDisplay) {
  ScrSettings settings;
  settings.speedPercent = 250;
  const SaverChoices choices = ScrChoices(settings, {"a.zrv", "b.zrv"}, 9, 75);
  EXPECT_DOUBLE_EQ(choices.speed, 2.5);
  EXPECT_EQ(choices.frameNs, 1'000'000'000u / 75);
  EXPECT_EQ(choices.seed, 9u);
  EXPECT_EQ(choices.scenes, (std::vector<std::string>{"a.zrv", "b.zrv"}));
  // Windows' "hardware default" refresh: the pacer's own default.
  EXPECT_EQ(ScrChoices(settings, {}, 9, 1).frameNs, FramePacer::kDefaultFrameNs);
}

}  // namespace
}  // namespace zirvo::scr
