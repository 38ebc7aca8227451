// The shell's logic run on the headless backend: start-up order, the window
// procedure's state machine, pause arithmetic and whole shows that end.
#include "app/Shell.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include "app/Banner.h"
#include "platform/headless/HeadlessPlatform.h"
#include "support/TempDir.h"

namespace zirvo {
namespace {

using testing::TempDir;

constexpr std::int32_t kWidth = 320;
constexpr std::int32_t kHeight = 200;

// Polls `condition` for up to five seconds (the shows here take milliseconds).
bool Eventually(const std::function<bool()>& condition) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (!condition()) {
    if (std::chrono::steady_clock::now() >= deadline)
      return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

// A kind that never ends, drawing one point per pass, and one that ends quickly.
constexpr const char* kEndlessScene = "nv=100000\nbs=400\ndt=0\nn=3\nc=12\n";
constexpr const char* kStoppingScene = "stop=2\nnv=50\nbs=20\ndt=0\nn=2\nc=10\n";

class ShellTest : public ::testing::Test {
 protected:
  ShellTest() { platform.Attach(shell); }

  ~ShellTest() override {
    if (runner.joinable()) {
      platform.PostDestroy();
      runner.join();
    }
  }

  Launch PosixLaunch(const std::string& scene) {
    Launch launch;
    launch.style = PathStyle::kPosix;
    std::vector<std::string> argv = {"zirvo"};
    if (!scene.empty())
      argv.push_back(scene);
    launch.args = ArgsFromArgv(dir.PathOf("zirvo"), argv);
    return launch;
  }

  void Start(const Launch& launch) {
    runner = std::thread([this, launch] { exitCode = shell.Run(launch); });
  }

  int Finish() {
    runner.join();
    return exitCode;
  }

  TempDir dir;
  HeadlessPlatform platform{kWidth, kHeight};
  Shell shell{platform};
  std::thread runner;
  int exitCode = -1;
};

// --- The window procedure, through the message loop -------------------------

// The shell runs without a scene (nothing is drawn) at the given wait; each
// event is handled before the test looks.
class WindowProcedureTest : public ShellTest {
 protected:
  // Returns once the start-up is over (StartTime taken, the drawing thread running).
  void StartWithoutScene(std::uint32_t wait) {
    dir.Write("zirvo.ini", "wait=" + std::to_string(wait) + "\n");
    Start(PosixLaunch(""));
    ASSERT_TRUE(Eventually([&] { return platform.DrawingThreadRunning(); }));
  }
  void Press(Key key) {
    platform.PostKey(key);
    platform.WaitUntilHandled();
  }
  void Click() {
    platform.PostButton();
    platform.WaitUntilHandled();
  }
};

TEST_F(WindowProcedureTest, KeysWhileRunningPauseChangeSpeedOrQuit) {
  platform.SetTime(5000);
  StartWithoutScene(100);
  Pacing expected;
  expected.SetWait(100);

  Press(Key::kUp);
  expected.SpeedUp();
  EXPECT_EQ(shell.pacing().Wait(), expected.Wait());
  EXPECT_LT(shell.pacing().Wait(), 100u);

  Press(Key::kDown);
  Press(Key::kDown);
  expected.SlowDown();
  expected.SlowDown();
  EXPECT_EQ(shell.pacing().Wait(), expected.Wait());
  EXPECT_FALSE(platform.QuitPosted());

  Press(Key::kScrollLock);
  EXPECT_TRUE(shell.Paused());
  EXPECT_EQ(shell.PauseStart(), 5000);
  EXPECT_FALSE(platform.QuitPosted());

  Press(Key::kOther);  // while paused: only resumes
  EXPECT_FALSE(shell.Paused());
  EXPECT_FALSE(platform.QuitPosted());

  Press(Key::kOther);
  EXPECT_TRUE(platform.QuitPosted());
  EXPECT_EQ(Finish(), 0);
}

TEST_F(WindowProcedureTest, EveryKeyWhilePausedOnlyResumes) {
  StartWithoutScene(100);
  for (Key key : {Key::kUp, Key::kDown, Key::kScrollLock, Key::kOther}) {
    Press(Key::kScrollLock);
    ASSERT_TRUE(shell.Paused());
    Press(key);
    EXPECT_FALSE(shell.Paused());
    EXPECT_EQ(shell.PauseStart(), 0);
  }
  EXPECT_EQ(shell.pacing().Wait(), 100u);
  EXPECT_FALSE(platform.QuitPosted());
}

TEST_F(WindowProcedureTest, ClicksResumeWhenPausedAndQuitOtherwise) {
  StartWithoutScene(1);
  Press(Key::kScrollLock);
  Click();
  EXPECT_FALSE(shell.Paused());
  EXPECT_FALSE(platform.QuitPosted());
  Click();
  EXPECT_TRUE(platform.QuitPosted());
  EXPECT_EQ(Finish(), 0);
}

TEST_F(WindowProcedureTest, DestroyQuits) {
  StartWithoutScene(1);
  platform.PostDestroy();
  EXPECT_EQ(Finish(), 0);
  EXPECT_TRUE(platform.QuitPosted());
}

TEST_F(WindowProcedureTest, APauseMovesTheShowClockByItsLength) {
  platform.SetTime(990);
  StartWithoutScene(1);
  platform.SetTime(1000);
  Press(Key::kScrollLock);
  platform.AdvanceSeconds(30);
  Click();
  EXPECT_EQ(shell.StartTime(), 1020);
  EXPECT_EQ(shell.PauseStart(), 0);

  // A second pause adds up; a pause within one second moves nothing.
  Press(Key::kScrollLock);
  Press(Key::kUp);
  EXPECT_EQ(shell.StartTime(), 1020);
  Press(Key::kScrollLock);
  platform.AdvanceSeconds(7);
  Press(Key::kDown);
  EXPECT_EQ(shell.StartTime(), 1027);
}

TEST_F(WindowProcedureTest, APauseAcrossTheWrapOfThe32BitClockStillMovesByItsLength) {
  platform.SetTime(0x7FFFFFE0);
  StartWithoutScene(1);
  platform.SetTime(0x7FFFFFF0);
  Press(Key::kScrollLock);
  platform.AdvanceSeconds(0x20);  // the low 32 bits pass 0x7FFFFFFF
  Click();
  EXPECT_EQ(static_cast<std::uint32_t>(shell.StartTime()), 0x80000000u);
}

TEST_F(WindowProcedureTest, WithoutASceneEveryPaintDrawsTheBanner) {
  StartWithoutScene(1);
  platform.PostPaint();
  platform.WaitUntilHandled();
  EXPECT_EQ(platform.BannerPaints(), 2);  // the first paint, then every repaint again
  EXPECT_EQ(platform.LastBannerText(), kBannerText);
  EXPECT_EQ(platform.LastBannerTop(), BannerTop(kHeight, HeadlessPlatform::kLineHeight));
  EXPECT_FALSE(shell.DrawingEnabled());
  EXPECT_EQ(platform.DefaultPaints(), 0);
  EXPECT_EQ(platform.HideCursorCalls(), 2);  // once per paint
}

TEST_F(WindowProcedureTest, WithASceneAPaintOpensTheDrawingGateAndErases) {
  dir.Write("zirvo.ini", "wait=1\n");
  // Its one kind starts in a minute of a clock that stands still: nothing is drawn.
  dir.Write("later.zrv", "start=60\nnv=50\nbs=20\nn=1\n");
  Start(PosixLaunch(dir.PathOf("later.zrv")));
  platform.WaitUntilHandled();
  ASSERT_TRUE(Eventually([&] { return shell.DrawingEnabled(); }));
  platform.Screen().SetPixel(5, 5, 0x00FF00);
  platform.PostPaint();
  platform.WaitUntilHandled();
  EXPECT_EQ(platform.DefaultPaints(), 2);
  EXPECT_EQ(platform.BannerPaints(), 0);
  EXPECT_EQ(platform.Screen().GetPixel(5, 5), kBlack);  // erased, not redrawn
  EXPECT_EQ(platform.HideCursorCalls(), 2);
}

// --- Whole runs ------------------------------------------------------------

TEST_F(ShellTest, AShowWithStopTimesEndsByItself) {
  dir.Write("zirvo.ini", "wait=1\n");
  dir.Write("stopping.zrv", kStoppingScene);
  platform.SetReadsPerSecond(2000);
  Start(PosixLaunch(dir.PathOf("stopping")));
  EXPECT_EQ(Finish(), 0);
  EXPECT_TRUE(shell.SceneLoaded());
  EXPECT_GE(platform.QuitsFromDrawingThread(), 1);
  EXPECT_GT(platform.Screen().PixelsSet(), 0u);
  EXPECT_TRUE(shell.DrawThreadExited());
  EXPECT_EQ(platform.CalibrationTrials(), 0);
  EXPECT_EQ(shell.pacing().Wait(), 1u);
}

TEST_F(ShellTest, ASceneIsDrawnInItsColourUntilAClick) {
  dir.Write("zirvo.ini", "wait=1\n");
  dir.Write("endless.zrv", kEndlessScene);
  Start(PosixLaunch(dir.PathOf("endless.zrv")));
  ASSERT_TRUE(Eventually([&] { return platform.Screen().CountNotBlack() > 20; }));
  bool onlyRed = true;
  for (std::int32_t y = 0; y < kHeight; ++y) {
    for (std::int32_t x = 0; x < kWidth; ++x) {
      const COLORREF c = platform.Screen().GetPixel(x, y);
      if (c != kBlack && c != Palette16[12])
        onlyRed = false;
    }
  }
  EXPECT_TRUE(onlyRed);
  platform.PostButton();
  EXPECT_EQ(Finish(), 0);
  EXPECT_EQ(platform.QuitsFromDrawingThread(), 0);
}

TEST_F(ShellTest, WhilePausedNothingIsDrawnAndResumingDrawsAgain) {
  dir.Write("zirvo.ini", "wait=1\n");
  dir.Write("endless.zrv", kEndlessScene);
  Start(PosixLaunch(dir.PathOf("endless.zrv")));
  ASSERT_TRUE(Eventually([&] { return platform.Screen().PixelsSet() > 50; }));

  platform.PostKey(Key::kScrollLock);
  platform.WaitUntilHandled();
  // The pass under way finishes; after that the count stands still.
  std::uint64_t before = 0;
  ASSERT_TRUE(Eventually([&] {
    before = platform.Screen().PixelsSet();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    return platform.Screen().PixelsSet() == before;
  }));
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_EQ(platform.Screen().PixelsSet(), before);

  platform.PostKey(Key::kUp);  // resumes only
  ASSERT_TRUE(Eventually([&] { return platform.Screen().PixelsSet() > before + 50; }));
  platform.PostKey(Key::kOther);
  EXPECT_EQ(Finish(), 0);
}

TEST_F(ShellTest, WithoutASceneTheBannerShowsAndCalibrationRuns) {
  dir.Write("zirvo.ini", "screen=640x480\n");
  Start(PosixLaunch(""));
  ASSERT_TRUE(Eventually([&] { return platform.BannerPaints() > 0; }));
  platform.PostButton();
  EXPECT_EQ(Finish(), 0);
  EXPECT_FALSE(shell.SceneLoaded());
  EXPECT_FALSE(shell.DrawingEnabled());
  EXPECT_GT(platform.CalibrationTrials(), 1);
  EXPECT_GT(shell.pacing().Wait(), 0u);
  EXPECT_EQ(platform.Screen().CountNotBlack(), 0u);
}

TEST_F(ShellTest, AWaitInTheSettingsSkipsCalibrationEvenWhenTheSceneFails) {
  dir.Write("zirvo.ini", "wait=7\n");
  dir.Write("bad.zrv", "scale=x\nnv=10\n");
  Start(PosixLaunch(dir.PathOf("bad.zrv")));
  platform.PostKey(Key::kOther);
  EXPECT_EQ(Finish(), 0);
  EXPECT_FALSE(shell.SceneLoaded());
  EXPECT_GE(platform.BannerPaints(), 1);
  EXPECT_EQ(platform.CalibrationTrials(), 0);
  EXPECT_EQ(shell.pacing().Wait(), 7u);
}

TEST_F(ShellTest, AMissingSettingsFileShowsTheBannerAndCalibrates) {
  dir.Write("endless.zrv", kEndlessScene);
  Start(PosixLaunch(dir.PathOf("endless.zrv")));
  platform.PostDestroy();
  EXPECT_EQ(Finish(), 0);
  EXPECT_FALSE(shell.SceneLoaded());
  EXPECT_GE(platform.BannerPaints(), 1);
  EXPECT_GT(platform.CalibrationTrials(), 0);
}

TEST_F(ShellTest, TheSeedIsTheLow12BitsOfTheStartTime) {
  dir.Write("zirvo.ini", "wait=1\n");
  platform.SetTime(0x12345678);
  Start(PosixLaunch(""));  // no scene: the drawing thread draws no numbers
  platform.PostButton();
  EXPECT_EQ(Finish(), 0);
  EXPECT_EQ(shell.StartTime(), 0x12345678);
  EXPECT_EQ(shell.show().random.State(), 0x678u);
}

TEST_F(ShellTest, TheWindowsCommandLineReachesTheLoaderInLowerCase) {
  // The Windows rules only know backslashes, so the settings file sits in a
  // file whose name holds one.
  dir.Write("bin\\zirvo.ini", "wait=1\n");
  dir.Write("demo.zrv", kEndlessScene);
  Launch launch;
  launch.style = PathStyle::kWindows;
  launch.args =
      ArgsFromWindowsCommandLine("\"" + dir.PathOf("BIN\\ZIRVO.EXE") + "\" " + dir.PathOf("DEMO"));
  Start(launch);
  platform.PostButton();
  EXPECT_EQ(Finish(), 0);
  EXPECT_TRUE(shell.SceneLoaded());
}

TEST_F(ShellTest, NoWindowEndsAtOnceWithNothingStarted) {
  platform.FailWindow();
  dir.Write("zirvo.ini", "wait=1\n");
  EXPECT_EQ(shell.Run(PosixLaunch("")), 0);
  EXPECT_FALSE(platform.WindowShown());
  EXPECT_FALSE(shell.DrawThreadStarted());
}

TEST_F(ShellTest, AFailedThreadLeavesTheWindowUpUntilAClick) {
  platform.FailThread();
  dir.Write("zirvo.ini", "wait=1\n");
  dir.Write("endless.zrv", kEndlessScene);
  Start(PosixLaunch(dir.PathOf("endless.zrv")));
  platform.PostButton();
  EXPECT_EQ(Finish(), 0);
  EXPECT_FALSE(shell.DrawThreadStarted());
  EXPECT_EQ(platform.Screen().PixelsSet(), 0u);
}

// A drawing thread stuck in one very long Delay cannot stop in time: the
// program still ends with exit code 0 instead of destroying the show under it.
void RunWithAStuckDrawingThread(const TempDir& dir) {
  HeadlessPlatform platform{kWidth, kHeight};
  Shell shell{platform};
  platform.Attach(shell);
  // The click comes once the thread is well inside its first Delay.
  std::thread user([&] {
    if (!Eventually([&] { return platform.DrawingThreadRunning(); }))
      return;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    platform.PostButton();
  });
  user.detach();
  Launch launch;
  launch.style = PathStyle::kPosix;
  launch.args = ArgsFromArgv(dir.PathOf("zirvo"), {"zirvo"});
  shell.Run(launch);
  std::_Exit(3);  // not reached: Run ends the process
}

TEST(ShellExitDeathTest, AThreadThatCannotStopInTimeStillEndsWithCodeZero) {
  TempDir dir;
  dir.Write("zirvo.ini", "wait=4000000000\n");
  EXPECT_EXIT(RunWithAStuckDrawingThread(dir), ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace zirvo
