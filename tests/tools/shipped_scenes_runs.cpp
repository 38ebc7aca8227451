// The scenes we ship, as a user meets them: each opens with its name and a
// sentence on what it shows (the gallery, the playground and the screensaver
// lists read that header), and keeps the screen lit: once it has started, no
// stretch of more than a few seconds goes nearly black. (That each loads without
// a warning is tools.sample-scenes.) The scenes are found in scenes/ when the
// test runs, so a new scene file is tested without touching this file.
//
// ZIRVO_SCENES=DIR and ZIRVO_SEED=N run the same checks on another folder of
// scenes and another seed (the table of figures is printed either way).
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "ImageDecode.h"
#include "ToolRun.h"
#include "support/TempDir.h"

namespace zirvo::testing {
namespace {

namespace fs = std::filesystem;

const std::string kRender = ZIRVO_RENDER_PATH;
const fs::path kShipped = ZIRVO_SCENES_DIR;

std::string FromEnvironment(const char* name, const std::string& otherwise) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0' ? value : otherwise;
}

const fs::path kScenes = FromEnvironment("ZIRVO_SCENES", kShipped.string());
const std::string kSeed = FromEnvironment("ZIRVO_SEED", "1");

// How long each scene is watched (long enough for the swirls of a scene that
// runs until stopped to give way to others at least once), and how dark and
// for how long is too dark.
constexpr int kWatchSeconds = 300;
constexpr int kStartupSeconds = 3;     // a show begins on a black screen
constexpr double kNearlyBlack = 4e-4;  // lit fraction: about 300 pixels of 1024x768
constexpr int kLongestDarkSeconds = 4;

std::vector<fs::path> ShippedScenes() {
  std::vector<fs::path> scenes;
  for (const auto& entry : fs::directory_iterator(kScenes)) {
    if (entry.path().extension() == ".zrv")
      scenes.push_back(entry.path());
  }
  std::sort(scenes.begin(), scenes.end());
  return scenes;
}

std::vector<std::string> Lines(const fs::path& file) {
  std::ifstream in(file);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);)
    lines.push_back(line);
  return lines;
}

TEST(ShippedScenes, ThereAreManyOfThem) {
  if (kScenes == kShipped) {
    EXPECT_GE(ShippedScenes().size(), 27u);
  }
}

// The header: "Name: what it shows." on the first line, the sentence running
// on over the next lines if need be, and a blank line after it. Comment lines
// only: no '=' in it, nothing indented.
TEST(ShippedScenes, EachOpensWithItsNameAndASentence) {
  const std::regex first("[A-Z][A-Za-z' -]*: [a-z].*");
  for (const fs::path& scene : ShippedScenes()) {
    SCOPED_TRACE(scene.filename().string());
    const std::vector<std::string> lines = Lines(scene);
    ASSERT_FALSE(lines.empty());
    EXPECT_TRUE(std::regex_match(lines[0], first)) << lines[0];
    std::size_t end = 0;
    while (end < lines.size() && !lines[end].empty())
      ++end;
    ASSERT_LT(end, lines.size()) << "no blank line after the header";
    ASSERT_LE(end, 3u) << "the header runs over more than three lines";
    for (std::size_t i = 0; i < end; ++i) {
      EXPECT_EQ(lines[i].find('='), std::string::npos) << lines[i];
      EXPECT_GT(static_cast<unsigned char>(lines[i][0]), ' ') << lines[i];
    }
    EXPECT_EQ(lines[end - 1].back(), '.') << "the sentence ends the header";
  }
}

struct Watch {
  int renderStatus = -1;    // zirvo-render's exit status
  std::string said;         // what it wrote on stderr
  bool decoded = false;     // its GIF decoded
  double endedAt = -1;      // the show's second when it ended by itself, or -1
  double darkest = 1;       // the lowest lit fraction after the start-up
  double mean = 0;          // the mean lit fraction after the start-up
  int longestDark = 0;      // seconds in a row nearly black after the start-up
  std::vector<double> lit;  // the lit fraction at each whole second
};

// The show of seed 1 (or ZIRVO_SEED) on the shipped settings and the default
// 1024x768 screen, a picture a second. Runs on any thread: `dir` is its own.
Watch WatchScene(const fs::path& scene, const TempDir& dir) {
  Watch watch;
  const std::string gif = dir.PathOf("watch.gif");
  const ToolOutput out =
      RunTool(kRender,
              {"--settings", (kShipped / "zirvo.ini").string(), "--seed", kSeed, "--seconds",
               std::to_string(kWatchSeconds), "--fps", "1", "--gif", gif, scene.string()},
              dir.path());
  watch.renderStatus = out.status;
  watch.said = out.err;
  // A picture that changes nothing lengthens the one before it: spread each
  // over the seconds it stands for. The last one is held two seconds longer.
  std::vector<std::pair<double, int>> pictures;  // lit fraction, seconds
  watch.decoded = ForEachGifPicture(gif, [&](const Picture& screen, int delayCs) {
    const auto lit = std::count_if(screen.pixels.begin(), screen.pixels.end(),
                                   [](std::uint32_t p) { return p != 0; });
    pictures.emplace_back(static_cast<double>(lit) / static_cast<double>(screen.pixels.size()),
                          (delayCs + 50) / 100);
  });
  if (!pictures.empty())
    pictures.back().second = std::max(0, pictures.back().second - 2);
  for (const auto& [lit, seconds] : pictures)
    watch.lit.insert(watch.lit.end(), static_cast<std::size_t>(seconds), lit);
  if (out.err.find("ended by itself") != std::string::npos)
    watch.endedAt = static_cast<double>(watch.lit.size());
  int dark = 0;
  double sum = 0;
  int counted = 0;
  for (std::size_t s = kStartupSeconds; s < watch.lit.size(); ++s) {
    const double lit = watch.lit[s];
    dark = lit < kNearlyBlack ? dark + 1 : 0;
    watch.longestDark = std::max(watch.longestDark, dark);
    watch.darkest = std::min(watch.darkest, lit);
    sum += lit;
    ++counted;
  }
  watch.mean = counted > 0 ? sum / counted : 0;
  return watch;
}

// Every scene watched, on as many threads as there are cores.
std::vector<Watch> WatchAll(const std::vector<fs::path>& scenes) {
  std::vector<Watch> watches(scenes.size());
  std::atomic<std::size_t> next{0};
  const auto worker = [&] {
    const TempDir dir;
    for (std::size_t i = next++; i < scenes.size(); i = next++)
      watches[i] = WatchScene(scenes[i], dir);
  };
  std::vector<std::thread> threads(std::max(1u, std::thread::hardware_concurrency()));
  for (std::thread& thread : threads)
    thread = std::thread(worker);
  for (std::thread& thread : threads)
    thread.join();
  return watches;
}

TEST(ShippedScenes, NoneLeavesTheScreenNearlyBlack) {
  const std::vector<fs::path> scenes = ShippedScenes();
  const std::vector<Watch> watches = WatchAll(scenes);
  std::printf("%-16s %8s %8s %8s %6s\n", "scene", "ends", "darkest", "mean", "dark s");
  for (std::size_t i = 0; i < scenes.size(); ++i) {
    const fs::path& scene = scenes[i];
    const Watch& watch = watches[i];
    EXPECT_EQ(watch.renderStatus, 0) << scene << "\n" << watch.said;
    EXPECT_TRUE(watch.decoded) << scene;
    const std::string ends =
        watch.endedAt < 0 ? "never" : std::to_string(int(watch.endedAt)) + " s";
    std::printf("%-16s %8s %7.3f%% %7.3f%% %6d\n", scene.stem().c_str(), ends.c_str(),
                watch.darkest * 100, watch.mean * 100, watch.longestDark);
    EXPECT_LE(watch.longestDark, kLongestDarkSeconds) << scene;
    EXPECT_GT(watch.lit.size(), static_cast<std::size_t>(kStartupSeconds + 10))
        << scene << ": the show is over in seconds";
  }
}

}  // namespace
}  // namespace zirvo::testing
