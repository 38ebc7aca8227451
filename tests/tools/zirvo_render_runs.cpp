// zirvo-render run as a process on real files: reproducible traces, pictures
// that decode to what the show drew, the show's own end, and clear errors.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

#include "ImageDecode.h"
#include "ToolRun.h"
#include "support/TempDir.h"

namespace zirvo::testing {
namespace {

const std::string kRender = ZIRVO_RENDER_PATH;

// A small virtual screen shown unscaled on a larger physical one: everything
// the swirls draw sits at a known offset.
const char* const kSettings = "screen=320x200\nscale=n\nbuffer=1\nwait=1\n";

// Random starts and targets, so the seed decides the picture; two colours.
const char* const kTwoColours =
    "c=12\nn=3\nnv=600\nbs=200\ndt=1\na=60\nb=20\n\n"
    "c=10\nnv=900\nbs=300\ndt=0\na=40\nb=40\nv=-5\n";

class RenderRun : public ::testing::Test {
 protected:
  ToolOutput Render(std::vector<std::string> args) {
    return RunTool(kRender, std::move(args), dir.path());
  }
  void SetUp() override {
    dir.Write("zirvo-settings.ini", kSettings);
    dir.Write("scene.zrv", kTwoColours);
  }
  std::vector<std::string> Base(const std::string& seconds) {
    return {"--settings", "zirvo-settings.ini", "--screen", "400x300", "--seconds", seconds};
  }
  TempDir dir;
};

TEST_F(RenderRun, TraceIsIdenticalForOneSeedAndDiffersForAnother) {
  auto args = Base("3");
  auto run = [&](const std::string& seed, const std::string& file) {
    auto a = args;
    a.insert(a.end(), {"--seed", seed, "--trace", file, "scene.zrv"});
    const ToolOutput out = Render(a);
    EXPECT_EQ(out.status, 0) << out.err;
    return ReadFile(dir.path() / file);
  };
  const std::string first = run("7", "a.trace");
  const std::string again = run("7", "b.trace");
  const std::string other = run("8", "c.trace");
  ASSERT_GT(first.size(), 1000u);
  EXPECT_EQ(first, again);
  EXPECT_NE(first, other);

  // Every line is "X Y rrggbb" with lower-case hex, red first: the colours are
  // the scene's red (c=12), green (c=10) and black for erased pixels.
  const std::regex line(R"((-?\d+) (-?\d+) ([0-9a-f]{6}))");
  std::set<std::string> colours;
  std::istringstream lines(first);
  for (std::string text; std::getline(lines, text);) {
    std::smatch match;
    ASSERT_TRUE(std::regex_match(text, match, line)) << text;
    colours.insert(match[3]);
  }
  EXPECT_EQ(colours, (std::set<std::string>{"ff0000", "00ff00", "000000"}));
}

TEST_F(RenderRun, PngAndGifDecodeToTheScreenAndTheGifEndsOnThePng) {
  auto args = Base("2.5");
  args.insert(args.end(), {"--seed", "3", "--png", "last.png", "--gif", "show.gif", "--fps", "4",
                           "--trace", "show.trace", "scene.zrv"});
  const ToolOutput out = Render(args);
  ASSERT_EQ(out.status, 0) << out.err;

  const Picture png = DecodePng(dir.PathOf("last.png"));
  ASSERT_EQ(png.width, 400);
  ASSERT_EQ(png.height, 300);
  std::set<std::uint32_t> colours(png.pixels.begin(), png.pixels.end());
  EXPECT_EQ(colours, (std::set<std::uint32_t>{0x000000, 0xFF0000, 0x00FF00}));

  // The trace replayed onto a black screen of that size, clipped, is the PNG.
  Picture replay{400, 300, std::vector<std::uint32_t>(400 * 300, 0)};
  std::istringstream trace(ReadFile(dir.path() / "show.trace"));
  int x = 0;
  int y = 0;
  std::string hex;
  while (trace >> x >> y >> hex) {
    if (x < 0 || y < 0 || x >= 400 || y >= 300)
      continue;
    replay.pixels[static_cast<std::size_t>(y * 400 + x)] = std::stoul(hex, nullptr, 16);
  }
  EXPECT_EQ(replay.pixels, png.pixels);

  // 2.5 s at 4 frames a second: pictures at 0, 0.25, ... 2.5 s (fewer when one
  // changes nothing), each shown for whole quarter seconds, then the screen as
  // the last pass left it (that pass ends a little after 2.5 s), held longer.
  const Animation gif = DecodeGif(dir.PathOf("show.gif"));
  ASSERT_EQ(gif.width, 400);
  ASSERT_EQ(gif.height, 300);
  ASSERT_GE(gif.frames.size(), 5u);
  EXPECT_LE(gif.frames.size(), 12u);
  EXPECT_EQ(gif.frames.back().pixels, png.pixels);
  int total = 0;
  for (int delay : gif.delaysCs)
    total += delay;
  EXPECT_GE(total, 250);
  for (std::size_t i = 0; i + 2 < gif.delaysCs.size(); ++i)
    EXPECT_EQ(gif.delaysCs[i] % 25, 0);
  EXPECT_GE(gif.delaysCs.back(), 200);
}

TEST_F(RenderRun, AStillStretchLongerThanOneGifDelayKeepsItsLength) {
  // Nothing is drawn before 2000 s: the black first picture stays for the whole
  // 1000 s run plus the final hold, longer than one GIF delay (655.35 s) holds.
  dir.Write("late.zrv", "start=2000\nstop=3000\n");
  const ToolOutput out =
      Render({"--settings", "zirvo-settings.ini", "--delay-us", "1000000", "--seconds", "1000",
              "--fps", "1", "--gif", "late.gif", "late.zrv"});
  ASSERT_EQ(out.status, 0) << out.err;
  const Animation gif = DecodeGif(dir.PathOf("late.gif"));
  ASSERT_EQ(gif.delaysCs.size(), 2u);
  EXPECT_EQ(gif.delaysCs[0], 65535);
  EXPECT_EQ(gif.delaysCs[0] + gif.delaysCs[1], 100000 + 200);
  EXPECT_EQ(gif.frames.back().pixels, std::vector<std::uint32_t>(1024 * 768, 0));
}

TEST_F(RenderRun, PixelsOffTheScreenAreTracedButClipped) {
  // The virtual screen is wider than the physical one and only centred: swirls
  // near its edges draw outside the 100x100 screen.
  dir.Write("wide.ini", "screen=320x200\nscale=n\n");
  const ToolOutput out = Render({"--settings", "wide.ini", "--screen", "100x100", "--seconds", "2",
                                 "--trace", "t.trace", "--png", "t.png", "scene.zrv"});
  ASSERT_EQ(out.status, 0) << out.err;
  std::istringstream trace(ReadFile(dir.path() / "t.trace"));
  int outside = 0;
  int x = 0;
  int y = 0;
  std::string hex;
  while (trace >> x >> y >> hex)
    outside += (x < 0 || y < 0 || x >= 100 || y >= 100) ? 1 : 0;
  EXPECT_GT(outside, 0);
  EXPECT_EQ(DecodePng(dir.PathOf("t.png")).width, 100);
}

TEST_F(RenderRun, TheGivenSettingsFileDecidesTheVirtualScreen) {
  // A fixed start and target at the virtual origin with no radius draw only at
  // (0, 0) virtual, which the settings centre on the physical screen.
  dir.Write("dot.zrv", "px=0\npy=0\nfx=0\nfy=0\na=0\nb=0\nnv=5\nbs=5\ndt=0\nc=15\n");
  dir.Write("small.ini", "screen=200x100\nscale=n\n");
  const ToolOutput out = Render({"--settings", "small.ini", "--screen", "1000x500", "--seconds",
                                 "1", "--trace", "dot.trace", "dot.zrv"});
  ASSERT_EQ(out.status, 0) << out.err;
  const std::string trace = ReadFile(dir.path() / "dot.trace");
  ASSERT_FALSE(trace.empty());
  EXPECT_EQ(trace.substr(0, trace.find('\n')), "400 200 ffffff");
}

TEST_F(RenderRun, FindsZirvoIniBesideItsOwnRealPath) {
  // A copy of the program in another directory reads the zirvo.ini beside it.
  const auto copy = dir.path() / "bin" / "zirvo-render";
  std::filesystem::create_directories(copy.parent_path());
  std::filesystem::copy_file(kRender, copy);
  std::filesystem::permissions(copy, std::filesystem::perms::owner_all);

  ToolOutput out = RunTool(copy.string(), {"--seconds", "1", "scene.zrv"}, dir.path());
  EXPECT_EQ(out.status, 2);
  EXPECT_NE(out.err.find((copy.parent_path() / "zirvo.ini").string()), std::string::npos)
      << out.err;

  dir.Write("bin/zirvo.ini", "screen=1x200\n");
  out = RunTool(copy.string(), {"--seconds", "1", "scene.zrv"}, dir.path());
  EXPECT_EQ(out.status, 2);
  EXPECT_NE(out.err.find("zirvo.ini:1:"), std::string::npos) << out.err;

  dir.Write("bin/zirvo.ini", kSettings);
  out = RunTool(copy.string(), {"--seconds", "1", "scene.zrv"}, dir.path());
  EXPECT_EQ(out.status, 0) << out.err;
}

TEST_F(RenderRun, TheShowEndsByItselfOrAtTheTimeLimit) {
  dir.Write("short.zrv", "nv=50\nbs=10\ndt=0\nstop=1\n");
  ToolOutput out = Render({"--settings", "zirvo-settings.ini", "--seconds", "30", "short.zrv"});
  ASSERT_EQ(out.status, 0) << out.err;
  EXPECT_NE(out.err.find("ended by itself"), std::string::npos) << out.err;
  EXPECT_NE(out.err.find(" 2.0"), std::string::npos) << out.err;  // ends within second 2
  // Not a terminal: no progress bar, only the summary line.
  EXPECT_EQ(out.err.find('\r'), std::string::npos);
  EXPECT_EQ(std::count(out.err.begin(), out.err.end(), '\n'), 1) << out.err;

  out = Render({"--settings", "zirvo-settings.ini", "--seconds", "1.5", "scene.zrv"});
  ASSERT_EQ(out.status, 0) << out.err;
  EXPECT_NE(out.err.find("1.500 simulated s (time limit reached)"), std::string::npos) << out.err;
}

TEST_F(RenderRun, ErrorsNameTheFileAndTheOption) {
  ToolOutput out = Render({"--settings", "zirvo-settings.ini", "missing.zrv"});
  EXPECT_EQ(out.status, 2);
  EXPECT_NE(out.err.find("missing.zrv"), std::string::npos) << out.err;

  out = Render({"--settings", "nowhere.ini", "scene.zrv"});
  EXPECT_EQ(out.status, 2);
  EXPECT_NE(out.err.find("nowhere.ini"), std::string::npos) << out.err;

  for (const auto& [option, value] :
       std::vector<std::pair<std::string, std::string>>{{"--screen", "1024"},
                                                        {"--screen", "0x768"},
                                                        {"--seed", "-1"},
                                                        {"--seconds", "0"},
                                                        {"--seconds", "1e3"},
                                                        {"--fps", "61"},
                                                        {"--delay-us", "x"}}) {
    out = Render({option, value, "scene.zrv"});
    EXPECT_EQ(out.status, 2) << option << " " << value;
    EXPECT_NE(out.err.find(option), std::string::npos) << out.err;
  }
  out = Render({"--frobnicate", "scene.zrv"});
  EXPECT_EQ(out.status, 2);
  EXPECT_NE(out.err.find("--frobnicate"), std::string::npos);

  dir.Write("bad.zrv", "nv=100\n\nscale=sideways\n");
  out = Render({"--settings", "zirvo-settings.ini", "bad.zrv"});
  EXPECT_EQ(out.status, 2);
  EXPECT_NE(out.err.find("bad.zrv:3: error:"), std::string::npos) << out.err;
  EXPECT_NE(out.err.find("scale=sideways"), std::string::npos) << out.err;

  out = Render({"--settings", "zirvo-settings.ini", "--seconds", "0.1", "--png",
                "no/such/dir/x.png", "scene.zrv"});
  EXPECT_EQ(out.status, 2);
  EXPECT_NE(out.err.find("no/such/dir/x.png"), std::string::npos) << out.err;
}

}  // namespace
}  // namespace zirvo::testing
