// zirvo-saver's command line as screensaver hosts write it, and the mistakes a
// person makes with it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/sdl-saver/SaverOptions.h"

namespace zirvo::saver {
namespace {

ParsedSaverOptions Parse(std::vector<std::string> args) {
  return ParseSaverOptions(args);
}

std::string ErrorOf(std::vector<std::string> args) {
  return Parse(std::move(args)).error;
}

TEST(SaverOptions, NoOptionsOpenAWindowOfItsOwnWithTheSampleScenes) {
  const ParsedSaverOptions parsed = Parse({});
  ASSERT_EQ(parsed.error, "");
  EXPECT_EQ(parsed.options.mode, SaverMode::kWindow);
  EXPECT_FALSE(parsed.options.modeGiven);
  EXPECT_TRUE(parsed.options.scenes.empty());
  EXPECT_DOUBLE_EQ(parsed.options.speed, 1.0);
  EXPECT_FALSE(parsed.options.frameUs.has_value());
  EXPECT_FALSE(parsed.options.seed.has_value());
}

TEST(SaverOptions, OneDashOrTwoAndValuesAfterEqualsOrApart) {
  const ParsedSaverOptions parsed =
      Parse({"-root", "--scene", "a.zrv", "-scene=b.zrv", "-speed", "2.5", "--delay=20000", "-fps",
             "--seed", "4294967295", "-settings", "my.ini", "--stats"});
  ASSERT_EQ(parsed.error, "");
  const SaverOptions& o = parsed.options;
  EXPECT_EQ(o.mode, SaverMode::kRoot);
  EXPECT_TRUE(o.modeGiven);
  EXPECT_EQ(o.scenes, (std::vector<std::string>{"a.zrv", "b.zrv"}));
  EXPECT_DOUBLE_EQ(o.speed, 2.5);
  EXPECT_EQ(o.frameUs, 20000u);
  EXPECT_TRUE(o.fps);
  EXPECT_EQ(o.seed, 4294967295u);
  EXPECT_EQ(o.settings, "my.ini");
  EXPECT_TRUE(o.stats);
  // A value is taken as it is, even when it begins with a dash.
  EXPECT_EQ(Parse({"--scene", "-odd.zrv"}).options.scenes, (std::vector<std::string>{"-odd.zrv"}));
}

TEST(SaverOptions, WindowIdsInHexOrDecimal) {
  const ParsedSaverOptions hex = Parse({"-window-id", "0x3a00007"});
  ASSERT_EQ(hex.error, "");
  EXPECT_EQ(hex.options.mode, SaverMode::kWindowId);
  EXPECT_EQ(hex.options.windowId, 0x3a00007u);
  EXPECT_EQ(ParseWindowId("0X1F"), 0x1Fu);
  EXPECT_EQ(ParseWindowId("60817415"), 60817415u);
  for (const char* bad : {"", "0x", "0", "0x0", "-5", "+5", "0x1g", "12a", "0x20000000",
                          "99999999999999999999", " 5"}) {
    EXPECT_FALSE(ParseWindowId(bad).has_value()) << "'" << bad << "'";
  }
  EXPECT_NE(ErrorOf({"--window-id", "zz"}).find("window id"), std::string::npos);
}

TEST(SaverOptions, MonitorOptionsMeanFullScreen) {
  EXPECT_EQ(Parse({"--fullscreen"}).options.mode, SaverMode::kFullscreen);
  const ParsedSaverOptions one = Parse({"--monitor", "1"});
  ASSERT_EQ(one.error, "");
  EXPECT_EQ(one.options.mode, SaverMode::kFullscreen);
  EXPECT_EQ(one.options.monitor, 1u);
  const ParsedSaverOptions all = Parse({"-fullscreen", "-all-monitors"});
  ASSERT_EQ(all.error, "");
  EXPECT_TRUE(all.options.allMonitors);
  EXPECT_NE(ErrorOf({"--monitor", "0", "--all-monitors"}), "");
  EXPECT_NE(ErrorOf({"--window", "--all-monitors"}), "");
}

TEST(SaverOptions, MistakesAreNamedInOneLine) {
  const std::vector<std::vector<std::string>> mistakes = {
      {"--bogus"},
      {"--scene"},
      {"scene.zrv"},
      {"--root", "--window"},
      {"--root", "--window-id", "0x10"},
      {"--speed", "0"},
      {"--speed", "65"},
      {"--speed", "0.01"},
      {"--speed", "1e3"},
      {"--speed", "-1"},
      {"--delay", "999"},
      {"--delay", "1000001"},
      {"--seed", "4294967296"},
      {"--monitor", "-1"},
      {"--fps=yes"},
      {"--watch", "a.zrv", "--scene", "b.zrv"},
      {"--watch", "a.zrv", "--watch", "b.zrv"},
      {"--"},
      {"-"},
  };
  for (const auto& args : mistakes) {
    const std::string error = ErrorOf(args);
    EXPECT_NE(error, "") << args.front();
    EXPECT_EQ(error.find('\n'), std::string::npos) << error;
  }
  EXPECT_NE(ErrorOf({"--bogus"}).find("--bogus"), std::string::npos);
  EXPECT_NE(ErrorOf({"--speed", "65"}).find("'65'"), std::string::npos);
}

TEST(SaverOptions, WatchTakesItsOneScene) {
  const ParsedSaverOptions parsed = Parse({"--window", "--watch", "mine.zrv"});
  ASSERT_EQ(parsed.error, "");
  EXPECT_EQ(parsed.options.watch, "mine.zrv");
  EXPECT_EQ(parsed.options.mode, SaverMode::kWindow);
}

}  // namespace
}  // namespace zirvo::saver
