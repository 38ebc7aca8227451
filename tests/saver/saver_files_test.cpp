// Where zirvo-saver finds its scenes and settings, installed and in the build
// tree, and how it notices a saved file.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/sdl-saver/FileWatch.h"
#include "platform/sdl-saver/SaverPaths.h"
#include "support/TempDir.h"

namespace zirvo::saver {
namespace {

namespace fs = std::filesystem;

TEST(SaverPaths, InstalledItFindsTheScenesAndTheSettingsOfZirvo) {
  testing::TempDir prefix;
  const fs::path saverDir = prefix.path() / "libexec/xscreensaver";
  fs::create_directories(saverDir);
  prefix.Write(fs::path(ZIRVO_SAVER_TEST_BINDIR).append("zirvo.ini").string(), "screen=0x0\n");
  prefix.Write(fs::path(ZIRVO_SAVER_TEST_DATADIR).append("zirvo/scenes/b.zrv").string(), "");
  prefix.Write(fs::path(ZIRVO_SAVER_TEST_DATADIR).append("zirvo/scenes/a.zrv").string(), "");
  prefix.Write(fs::path(ZIRVO_SAVER_TEST_DATADIR).append("zirvo/scenes/zirvo.ini").string(), "");

  const std::string scenes = SampleScenesDirectory(saverDir.string());
  EXPECT_EQ(fs::path(scenes), (prefix.path() / ZIRVO_SAVER_TEST_DATADIR / "zirvo/scenes"));
  std::vector<std::string> found;
  std::string error;
  ASSERT_TRUE(ScenesIn(scenes, found, error));
  ASSERT_EQ(found.size(), 2u) << "only the *.zrv files";
  EXPECT_EQ(fs::path(found[0]).filename(), "a.zrv");
  EXPECT_EQ(fs::path(found[1]).filename(), "b.zrv");
  EXPECT_EQ(fs::path(DefaultSettingsFile(saverDir.string()).value_or("")),
            prefix.path() / ZIRVO_SAVER_TEST_BINDIR / "zirvo.ini");
}

TEST(SaverPaths, InTheBuildTreeItUsesWhatLiesBesideIt) {
  testing::TempDir build;
  build.Write("zirvo.ini", "");
  build.Write("sample-scenes/demo.zrv", "");
  EXPECT_EQ(fs::path(SampleScenesDirectory(build.path().string())), build.path() / "sample-scenes");
  EXPECT_EQ(fs::path(DefaultSettingsFile(build.path().string()).value_or("")),
            build.path() / "zirvo.ini");
}

TEST(SaverPaths, NothingFoundIsSaid) {
  testing::TempDir empty;
  EXPECT_EQ(SampleScenesDirectory(empty.PathOf("nowhere")), "");
  EXPECT_FALSE(DefaultSettingsFile(empty.path().string()).has_value());
  std::vector<std::string> found;
  std::string error;
  EXPECT_FALSE(ScenesIn(empty.PathOf("missing"), found, error));
  EXPECT_NE(error, "");
  EXPECT_EQ(WhyUnreadable(empty.PathOf("missing.zrv")), "No such file or directory");
  EXPECT_EQ(WhyUnreadable(empty.path().string()), "is a directory");
  EXPECT_EQ(WhyUnreadable(empty.Write("here.zrv", "nv=5\n")), "");
  EXPECT_EQ(ProgramDirectory("/usr/libexec/xscreensaver/zirvo-saver"), "/usr/libexec/xscreensaver");
}

TEST(FileWatch, ASavedFileIsReportedOnceItHasSettled) {
  testing::TempDir dir;
  const std::string scene = dir.Write("scene.zrv", "nv=5\n");
  const std::string settings = dir.Write("zirvo.ini", "screen=640x480\n");
  FileWatch watch({scene, settings});
  std::uint64_t now = 0;
  auto look = [&] { return watch.Poll(now += FileWatch::kLookNs); };

  EXPECT_EQ(look(), "");
  dir.Write("scene.zrv", "nv=5\nc=12\n");
  EXPECT_EQ(look(), "") << "just written: wait one more look";
  EXPECT_EQ(look(), scene);
  EXPECT_EQ(look(), "") << "reported once";
  EXPECT_EQ(watch.Poll(now + 1), "") << "no look before one is due";

  // Saved by writing another file and renaming it over the first.
  dir.Write("zirvo.ini.new", "screen=800x600\n");
  fs::rename(dir.PathOf("zirvo.ini.new"), settings);
  look();
  EXPECT_EQ(look(), settings);

  // Gone while an editor replaces it: nothing until it is back.
  fs::remove(scene);
  EXPECT_EQ(look(), "");
  EXPECT_EQ(look(), "");
  dir.Write("scene.zrv", "nv=7\n");
  look();
  EXPECT_EQ(look(), scene);
}

}  // namespace
}  // namespace zirvo::saver
