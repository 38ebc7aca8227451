#include "scene/LoadFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/TempDir.h"

namespace zirvo {
namespace {

constexpr ScreenSize kScreen{1024, 768};

// Runs a test inside a directory, so that relative names (and Windows names,
// which are plain file names here) are real files in it.
class InsideDir {
 public:
  explicit InsideDir(const std::filesystem::path& dir) : saved_(std::filesystem::current_path()) {
    std::filesystem::current_path(dir);
  }
  ~InsideDir() { std::filesystem::current_path(saved_); }
  InsideDir(const InsideDir&) = delete;
  InsideDir& operator=(const InsideDir&) = delete;

 private:
  std::filesystem::path saved_;
};

class LoadFilesTest : public ::testing::Test {
 protected:
  int LoadWindows(const std::string& commandLine) {
    LoadEnvironment env;
    env.screen = kScreen;
    env.currentDirectory = "c:\\work";
    env.style = PathStyle::kWindows;
    return LoadFiles(ArgsFromCommandLine(commandLine), env, scene, &diag);
  }

  int LoadPosix(const std::string& program, const std::vector<std::string>& argv) {
    LoadEnvironment env;
    env.screen = kScreen;
    env.currentDirectory = dir.path().string();
    env.style = PathStyle::kPosix;
    return LoadFiles(ArgsFromArgv(program, argv), env, scene, &diag);
  }

  testing::TempDir dir;
  LoadedScene scene;
  Diagnostics diag;
};

TEST_F(LoadFilesTest, QuotedWindowsPathsWithBlanks) {
  dir.Write("c:\\my dir\\zirvo.ini", "screen=640x480\nwait=3\n");
  dir.Write("d:\\scenes\\demo.zrv", "nv=10\n");
  const InsideDir inside(dir.path());
  ASSERT_EQ(LoadWindows("\"c:\\my dir\\prog.exe\" \"d:\\scenes\\demo\""), 1);
  EXPECT_EQ(scene.settingsPath, "c:\\my dir\\zirvo.ini");
  EXPECT_EQ(scene.scenePath, "d:\\scenes\\demo.zrv");
  EXPECT_EQ(scene.settings.WaitCount, 3u);
  EXPECT_EQ(scene.specs.SpecCount, 1);
  EXPECT_EQ(scene.map.VirtMaxX, 639);
  EXPECT_EQ(scene.screen.ScreenWidth, 1024);
}

TEST_F(LoadFilesTest, DriveRelativeProgramFindsSettingsOnThatDrive) {
  dir.Write("d:zirvo.ini", "");
  dir.Write("demo", "nv=10\n");
  const InsideDir inside(dir.path());
  ASSERT_EQ(LoadWindows("d:prog.exe demo"), 1);
  EXPECT_EQ(scene.settingsPath, "d:zirvo.ini");
  EXPECT_EQ(scene.scenePath, "demo");
}

TEST_F(LoadFilesTest, BareProgramNameLooksInTheCurrentDirectory) {
  EXPECT_EQ(LoadWindows("   prog.exe demo"), 0);
  EXPECT_EQ(scene.settingsPath, "c:\\work\\zirvo.ini");
  ASSERT_EQ(diag.notes.size(), 1u);
  EXPECT_EQ(diag.notes[0].code, NoteCode::kCannotOpen);
  EXPECT_EQ(diag.notes[0].file, "c:\\work\\zirvo.ini");

  dir.Write("zirvo.ini", "");
  dir.Write("demo.zrv", "nv=10\n");
  const InsideDir inside(dir.path());
  ASSERT_EQ(LoadPosix("zirvo", {"zirvo", "demo"}), 1);
  EXPECT_EQ(scene.settingsPath, dir.path().string() + "/zirvo.ini");
}

TEST_F(LoadFilesTest, SettingsBesideTheProgramNotBesideTheScene) {
  dir.Write("bin/zirvo.ini", "wait=11\n");
  dir.Write("scenes/zirvo.ini", "wait=22\n");
  dir.Write("scenes/Demo.zrv", "nv=10\n");
  ASSERT_EQ(LoadPosix(dir.PathOf("bin/zirvo"), {"zirvo", dir.PathOf("scenes/Demo"), "x"}), 1);
  EXPECT_EQ(scene.settings.WaitCount, 11u);
  EXPECT_EQ(scene.scenePath, dir.PathOf("scenes/Demo.zrv"));  // case kept
}

TEST_F(LoadFilesTest, SettingsAreReadEvenWhenNoSceneIsNamed) {
  dir.Write("bin\\zirvo.ini", "wait=42\n");
  const std::string program = dir.path().string() + "/bin\\prog.exe";
  EXPECT_EQ(LoadWindows(program), 0);
  EXPECT_EQ(scene.settings.WaitCount, 42u);
  ASSERT_EQ(diag.notes.size(), 1u);
  EXPECT_EQ(diag.notes[0].code, NoteCode::kNoSceneName);

  diag = Diagnostics{};
  EXPECT_EQ(LoadWindows(program + " \"demo"), 0);
  EXPECT_EQ(diag.notes.back().code, NoteCode::kUnclosedQuote);
}

TEST_F(LoadFilesTest, OnlyTheSecondTokenNamesTheScene) {
  dir.Write("zirvo.ini", "");
  dir.Write("one", "nv=1\n");
  dir.Write("two", "nv=2\n");
  const InsideDir inside(dir.path());
  ASSERT_EQ(LoadPosix("zirvo", {"zirvo", "one", "two", "three"}), 1);
  EXPECT_EQ(scene.specs[0].nv, 1u);
}

TEST_F(LoadFilesTest, EmptyCommandLineFails) {
  EXPECT_EQ(LoadWindows(" \t "), 0);
  ASSERT_EQ(diag.notes.size(), 1u);
  EXPECT_EQ(diag.notes[0].code, NoteCode::kNoProgramPath);
}

TEST_F(LoadFilesTest, AVirtualScreenBelowTwoFailsAndNamesTheLine) {
  dir.Write("zirvo.ini", "screen=1x480\n");
  dir.Write("demo", "nv=1\n");
  ASSERT_EQ(LoadPosix(dir.PathOf("zirvo"), {"zirvo", dir.PathOf("demo")}), 0);
  ASSERT_EQ(diag.notes.size(), 2u);  // the kind's "never ends", then the verdict
  EXPECT_EQ(diag.notes[1].code, NoteCode::kVirtualTooSmall);
  EXPECT_EQ(diag.notes[1].file, dir.PathOf("zirvo.ini"));
  EXPECT_EQ(diag.notes[1].line, 1u);

  // A scene's screen line takes 0 unchanged, and the last screen line counts.
  dir.Write("zirvo.ini", "screen=-3x480\n");
  dir.Write("demo", "nv=1\nstop=1\n\nscreen=640x0\n");
  diag = Diagnostics{};
  ASSERT_EQ(LoadPosix(dir.PathOf("zirvo"), {"zirvo", dir.PathOf("demo")}), 0);
  ASSERT_EQ(diag.notes.size(), 1u);
  EXPECT_EQ(diag.notes[0].file, dir.PathOf("demo"));
  EXPECT_EQ(diag.notes[0].line, 4u);

  dir.Write("demo", "screen=2x2\n");
  ASSERT_EQ(LoadPosix(dir.PathOf("zirvo"), {"zirvo", dir.PathOf("demo")}), 1);
  EXPECT_EQ(scene.map.VirtMaxX, 1);
}

TEST_F(LoadFilesTest, WithoutNotesTheResultIsTheSame) {
  dir.Write("zirvo.ini", "screen=800x400\nscale=u\n");
  dir.Write("demo", "nv=1\nc=99\npx=r\n");
  LoadEnvironment env;
  env.screen = kScreen;
  env.style = PathStyle::kPosix;
  LoadedScene quiet;
  const ProgramArgs args = ArgsFromArgv(dir.PathOf("zirvo"), {"zirvo", dir.PathOf("demo")});
  ASSERT_EQ(LoadFiles(args, env, quiet), 1);
  ASSERT_EQ(LoadFiles(args, env, scene, &diag), 1);
  EXPECT_EQ(quiet.map.OffsetY, 127);
  EXPECT_EQ(scene.map.OffsetY, quiet.map.OffsetY);
  EXPECT_EQ(scene.specs[0].colour, quiet.specs[0].colour);
  EXPECT_FALSE(diag.notes.empty());
}

}  // namespace
}  // namespace zirvo
