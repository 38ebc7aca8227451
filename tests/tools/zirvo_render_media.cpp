// zirvo-render's frame outputs run as a process and read back with the
// reference decoders: raw frames and the lossless WebP are exactly the GIF's
// pictures of the same moments, the videos have the asked size, rate, length
// and frame times and stay close to the exact frames, a show that ends by
// itself ends every output on its final screen, and an output that cannot be
// made or written leaves nothing behind.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "ImageDecode.h"
#include "MediaDecode.h"
#include "ToolRun.h"
#include "support/TempDir.h"

namespace zirvo::testing {
namespace {

const std::string kRender = ZIRVO_RENDER_PATH;

const char* const kSettings = "screen=320x200\nscale=n\nbuffer=1\nwait=1\n";
// Two kinds in two colours, with random starts: the screen changes all along.
const char* const kScene =
    "c=12\nn=3\nnv=600\nbs=200\ndt=1\na=60\nb=20\n\n"
    "c=10\nnv=900\nbs=300\ndt=0\na=40\nb=40\nv=-5\n";
// Ends by itself a little after two simulated seconds, its screen erased.
const char* const kShortScene = "c=14\nnv=300\nbs=100\ndt=0\nstop=1\n";

class RenderMedia : public ::testing::Test {
 protected:
  void SetUp() override {
    dir.Write("zirvo-settings.ini", kSettings);
    dir.Write("scene.zrv", kScene);
    dir.Write("short.zrv", kShortScene);
  }
  ToolOutput Render(std::vector<std::string> args) {
    std::vector<std::string> all{"--settings", "zirvo-settings.ini", "--seed", "5"};
    all.insert(all.end(), args.begin(), args.end());
    return RunTool(kRender, all, dir.path());
  }
  // What the directory holds besides the inputs.
  std::vector<std::string> Outputs() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
      const std::string name = entry.path().filename().string();
      if (name != "zirvo-settings.ini" && name != "scene.zrv" && name != "short.zrv" &&
          name.rfind(".tool-", 0) != 0)
        names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
  }
  TempDir dir;
};

// The GIF's screen at `cs` hundredths of a second.
const Picture& GifAt(const Animation& gif, int cs) {
  int end = 0;
  for (std::size_t i = 0; i < gif.frames.size(); ++i) {
    end += gif.delaysCs[i];
    if (cs < end)
      return gif.frames[i];
  }
  return gif.frames.back();
}

TEST_F(RenderMedia, RawFramesAndTheWebpAreTheGifsPicturesOfTheSameMoments) {
  const ToolOutput out =
      Render({"--screen", "400x300", "--seconds", "3", "--fps", "5", "--gif", "show.gif", "--webp",
              "show.webp", "--frames", "show.rgb", "scene.zrv"});
  ASSERT_EQ(out.status, 0) << out.err;
  EXPECT_NE(out.err.find("zirvo-render: raw frames: 400x300, 3 bytes a pixel (RGB), 360000 "
                         "bytes a frame, 5 frames a second\n"),
            std::string::npos)
      << out.err;

  // 3 s at 5 a second: frames at 0, 0.2, ... 2.8 s, each whole.
  std::size_t leftOver = 1;
  const std::vector<Picture> raw = ReadRawFrames(dir.PathOf("show.rgb"), 400, 300, &leftOver);
  ASSERT_EQ(raw.size(), 15u);
  EXPECT_EQ(leftOver, 0u);
  EXPECT_EQ(raw.front().pixels, std::vector<std::uint32_t>(400 * 300, 0));
  EXPECT_NE(raw[7].pixels, raw[14].pixels);

  const Animation gif = DecodeGif(dir.PathOf("show.gif"));
  const WebpAnimation webp = DecodeWebp(dir.PathOf("show.webp"));
  ASSERT_FALSE(gif.frames.empty());
  ASSERT_FALSE(webp.frames.empty());
  EXPECT_EQ(webp.width, 400);
  EXPECT_EQ(webp.height, 300);
  EXPECT_EQ(webp.loopCount, 0);
  for (int k = 0; k < 15; ++k) {
    EXPECT_EQ(raw[static_cast<std::size_t>(k)].pixels, GifAt(gif, k * 20).pixels) << "frame " << k;
    EXPECT_EQ(WebpAt(webp, k * 200 + 100).pixels, raw[static_cast<std::size_t>(k)].pixels)
        << "frame " << k;
  }
  // The last frame is shown for its 0.2 s and held two seconds more.
  EXPECT_EQ(webp.endsMs.back(), 3000 + 2000);
  EXPECT_EQ(Outputs(), (std::vector<std::string>{"show.gif", "show.rgb", "show.webp"}));
}

TEST_F(RenderMedia, VideosHaveTheSizeRateLengthAndFrameTimesAskedAndStayCloseToTheFrames) {
  struct Case {
    std::string file;
    std::string screen;
    std::string chroma;
    std::string codec;
    int width;  // as coded: H.264 wants even sides for 4:2:0
    int height;
    double leastPsnr;  // over the three channels
  };
  // Measured at the default quality, over the three channels: 29 to 30.5 dB
  // at 4:2:0 (four pixels share one colour, and the trails are single
  // pixels); at 4:4:4 40 to 44 dB with VP9, 33.5 to 36.5 dB with H.264.
  for (const Case& c : {Case{"show.webm", "400x300", "420", "vp9", 400, 300, 25},
                        Case{"show.mp4", "400x300", "420", "h264", 400, 300, 25},
                        Case{"odd.webm", "401x301", "420", "vp9", 401, 301, 25},
                        Case{"odd.mp4", "401x301", "420", "h264", 402, 302, 25},
                        Case{"full.webm", "401x301", "444", "vp9", 401, 301, 37},
                        Case{"full.mp4", "401x301", "444", "h264", 401, 301, 32}}) {
    SCOPED_TRACE(c.file);
    const ToolOutput out =
        Render({"--screen", c.screen, "--seconds", "2", "--fps", "25", "--chroma", c.chroma,
                "--video", c.file, "--frames", "exact.rgb", "scene.zrv"});
    ASSERT_EQ(out.status, 0) << out.err;
    const Video video = DecodeVideo(dir.PathOf(c.file));
    EXPECT_EQ(video.codec, c.codec);
    EXPECT_EQ(video.pixelFormat, "yuv" + c.chroma + "p");
    EXPECT_EQ(video.width, c.width);
    EXPECT_EQ(video.height, c.height);
    EXPECT_EQ(video.rateNum * 1, video.rateDen * 25) << video.rateNum << "/" << video.rateDen;
    EXPECT_NEAR(video.durationSeconds, 2.0, 0.0015);
    ASSERT_EQ(video.frames.size(), 50u);
    for (std::size_t k = 0; k < video.frameSeconds.size(); ++k)
      EXPECT_NEAR(video.frameSeconds[k], static_cast<double>(k) / 25, 1e-3) << "frame " << k;

    int width = 0;
    int height = 0;
    ASSERT_EQ(std::sscanf(c.screen.c_str(), "%dx%d", &width, &height), 2);
    const std::vector<Picture> exact =
        ReadRawFrames(dir.PathOf("exact.rgb"), width, height, nullptr);
    ASSERT_EQ(exact.size(), 50u);
    for (std::size_t k : {std::size_t{10}, std::size_t{30}, std::size_t{49}}) {
      const double all = Psnr(exact[k], video.frames[k]);
      const double luma = LumaPsnr(exact[k], video.frames[k]);
      const double early = LumaPsnr(exact[k], video.frames[k - 1]);
      std::printf("%s frame %zu: PSNR %.1f dB, luma %.1f dB (the frame before: %.1f dB)\n",
                  c.file.c_str(), k, all, luma, early);
      // Over luma 39 to 45 dB, and 31 to 33 dB for the frame before: a frame
      // out of step would show.
      EXPECT_GT(all, c.leastPsnr);
      EXPECT_GT(luma, 35.0);
      EXPECT_GT(luma, early + 5.0);
    }
    // The column or row added for H.264 stays black.
    if (c.width > width) {
      for (int y = 0; y < c.height; ++y)
        EXPECT_LT(video.frames[30].At(c.width - 1, y) & 0xFF, 0x30u);
    }
  }
}

TEST_F(RenderMedia, AShowThatEndsByItselfEndsEveryOutputOnItsFinalScreen) {
  const ToolOutput out =
      Render({"--screen", "320x200", "--seconds", "30", "--fps", "10", "--png", "last.png",
              "--webp", "end.webp", "--video", "end.webm", "--frames", "end.rgb", "short.zrv"});
  ASSERT_EQ(out.status, 0) << out.err;
  std::smatch match;
  ASSERT_TRUE(std::regex_search(out.err, match, std::regex(R"(([\d.]+) simulated s \(the show)")))
      << out.err;
  const double endSeconds = std::stod(match[1]);
  ASSERT_LT(endSeconds, 3.0);

  const Picture png = DecodePng(dir.PathOf("last.png"));
  const std::vector<Picture> raw = ReadRawFrames(dir.PathOf("end.rgb"), 320, 200, nullptr);
  // Every tenth of a second up to the end, and the final screen after it.
  const auto before = static_cast<std::size_t>(std::floor(endSeconds * 10)) + 1;
  ASSERT_TRUE(raw.size() == before || raw.size() == before + 1) << raw.size();
  ASSERT_GE(raw.size(), 2u);
  EXPECT_EQ(raw.back().pixels, png.pixels);
  // The frame of the last tenth still shows trails that the end erased.
  EXPECT_NE(raw[raw.size() - 2].pixels, png.pixels);

  const WebpAnimation webp = DecodeWebp(dir.PathOf("end.webp"));
  ASSERT_FALSE(webp.frames.empty());
  EXPECT_EQ(webp.frames.back().pixels, png.pixels);
  EXPECT_EQ(webp.endsMs.back(), static_cast<int>(raw.size()) * 100 + 2000);

  const Video video = DecodeVideo(dir.PathOf("end.webm"));
  ASSERT_EQ(video.frames.size(), raw.size());
  EXPECT_GT(Psnr(png, video.frames.back()), 38.0);
}

TEST_F(RenderMedia, BadOptionsAndFilesThatCannotBeMadeSayOneLineExitTwoAndLeaveNothing) {
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{"--video", "show.avi"},
                                             {"--video", "webm"},
                                             {"--quality", "101"},
                                             {"--quality", "-1"},
                                             {"--fps", "61"},
                                             {"--fps", "55", "--gif", "show.gif"}}) {
    std::vector<std::string> all = args;
    all.push_back("scene.zrv");
    const ToolOutput out = Render(all);
    EXPECT_EQ(out.status, 2) << args[0] << " " << args[1];
    EXPECT_NE(out.err.find(args[0]), std::string::npos) << out.err;
  }
  // 55 frames a second is fine for everything but the GIF.
  ToolOutput out = Render({"--seconds", "0.1", "--fps", "55", "--frames", "fast.rgb", "scene.zrv"});
  EXPECT_EQ(out.status, 0) << out.err;
  std::filesystem::remove(dir.path() / "fast.rgb");

  dir.Write("plain-file", "");
  std::filesystem::create_directory(dir.path() / "taken.webm");
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{"--video", "no/such/dir/show.webm"},
                                             {"--video", "plain-file/show.mp4"},
                                             {"--video", "taken.webm"},
                                             {"--webp", "plain-file/show.webp"},
                                             {"--frames", "plain-file/show.rgb"},
                                             {"--gif", "plain-file/show.gif"},
                                             {"--png", "no/such/dir/x.png"},
                                             {"--trace", "plain-file/show.trace"}}) {
    std::vector<std::string> all{"--seconds", "0.5", "--webp", "also.webp"};
    all.insert(all.end(), args.begin(), args.end());
    all.push_back("scene.zrv");
    out = Render(all);
    EXPECT_EQ(out.status, 2) << args[1];
    EXPECT_EQ(out.err, "zirvo-render: error: " + args[1] + ": cannot be created (" +
                           (args[1].rfind("no/", 0) == 0 ? "No such file or directory"
                            : args[1] == "taken.webm"    ? "Is a directory"
                                                         : "Not a directory") +
                           ")\n");
    EXPECT_EQ(Outputs(), (std::vector<std::string>{"plain-file", "taken.webm"})) << args[1];
  }
}

TEST_F(RenderMedia, AnOutputThatFailsMidwayStopsTheRunAndLeavesNoFile) {
  // /dev/full takes no byte: the first frame fails, the run stops at once
  // rather than going on for its hundred seconds, and no output is put in
  // place, the GIF included: each would be shorter than asked.
  const ToolOutput out = Render({"--seconds", "100", "--webp", "a.webp", "--video", "a.mp4",
                                 "--gif", "a.gif", "--frames", "/dev/full", "scene.zrv"});
  EXPECT_EQ(out.status, 1);
  EXPECT_NE(out.err.find("zirvo-render: error: /dev/full: cannot be written (No space left on "
                         "device)\n"),
            std::string::npos)
      << out.err;
  std::smatch match;
  ASSERT_TRUE(std::regex_search(
      out.err, match, std::regex(R"(([\d.]+) simulated s \(stopped: an output failed\))")))
      << out.err;
  EXPECT_LT(std::stod(match[1]), 1.0);
  EXPECT_EQ(Outputs(), std::vector<std::string>{});
}

TEST_F(RenderMedia, AReaderThatClosesItsPipeStopsTheRun) {
  const std::string pipe = dir.PathOf("frames.pipe");
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  // Reads one 64x48 frame and goes away.
  std::thread reader([&] {
    const int fd = open(pipe.c_str(), O_RDONLY);
    std::vector<char> frame(64 * 48 * 3);
    std::size_t got = 0;
    while (fd >= 0 && got < frame.size()) {
      const ssize_t n = read(fd, frame.data() + got, frame.size() - got);
      if (n <= 0)
        break;
      got += static_cast<std::size_t>(n);
    }
    if (fd >= 0)
      close(fd);
  });
  const ToolOutput out =
      Render({"--screen", "64x48", "--seconds", "100", "--frames", "frames.pipe", "scene.zrv"});
  // Should the renderer never have opened the pipe, the reader is let go.
  if (const int fd = open(pipe.c_str(), O_WRONLY | O_NONBLOCK); fd >= 0)
    close(fd);
  reader.join();
  EXPECT_EQ(out.status, 1);
  EXPECT_NE(out.err.find("zirvo-render: error: frames.pipe: the reader closed the pipe\n"),
            std::string::npos)
      << out.err;
  EXPECT_NE(out.err.find("(stopped: an output failed)"), std::string::npos) << out.err;
}

TEST_F(RenderMedia, AStoppedRenderLeavesNoPartialFile) {
  // A long render, stopped by SIGTERM once its files are under way.
  const pid_t child = StartTool(kRender,
                                {"--settings", "zirvo-settings.ini", "--seconds", "100000",
                                 "--webp", "long.webp", "--video", "long.webm", "scene.zrv"},
                                dir.path());
  ASSERT_GT(child, 0);
  const std::string partial = "long.webm." + std::to_string(child) + ".partial";
  for (int tries = 0; tries < 200 && !std::filesystem::exists(dir.path() / partial); ++tries)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_TRUE(std::filesystem::exists(dir.path() / partial));
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  kill(child, SIGTERM);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << status;
  EXPECT_EQ(Outputs(), std::vector<std::string>{});
}

TEST_F(RenderMedia, AnOutputThroughASymbolicLinkReplacesTheFileItNames) {
  std::filesystem::create_directory(dir.path() / "renders");
  dir.Write("renders/show.webp", "an older render");
  std::filesystem::create_symlink("renders/show.webp", dir.path() / "latest.webp");
  const ToolOutput out = Render(
      {"--quiet", "--screen", "64x48", "--seconds", "1", "--webp", "latest.webp", "scene.zrv"});
  ASSERT_EQ(out.status, 0) << out.err;
  EXPECT_TRUE(std::filesystem::is_symlink(dir.path() / "latest.webp"));
  EXPECT_EQ(DecodeWebp(dir.PathOf("renders/show.webp")).width, 64);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path() / "renders"),
                          std::filesystem::directory_iterator()),
            1);
}

TEST_F(RenderMedia, AtATerminalAProgressLineTellsTheFramesTheRateAndTheTimeLeft) {
  // script(1) gives the renderer a terminal and copies what it shows.
  const std::string command = kRender +
                              " --settings zirvo-settings.ini --screen 400x300 --seconds 16"
                              " --video progress.mp4 scene.zrv";
  ToolOutput out = RunTool("/usr/bin/script", {"-qfec", command, "/dev/null"}, dir.path());
  ASSERT_EQ(out.status, 0) << out.out;
  EXPECT_TRUE(std::regex_search(
      out.out,
      std::regex(R"(\r\[#*\.*\] \d+\.\d/16\.0 s, \d+ frames, [\d.]+x real time, \d+ s left)")))
      << out.out;
  EXPECT_NE(out.out.find("(time limit reached)"), std::string::npos) << out.out;

  out = RunTool("/usr/bin/script", {"-qfec", command + " --quiet", "/dev/null"}, dir.path());
  ASSERT_EQ(out.status, 0) << out.out;
  EXPECT_EQ(out.out, "");
}

TEST_F(RenderMedia, QuietSaysNothingAndRawFramesGoToStandardOutput) {
  const ToolOutput out = Render({"--quiet", "--screen", "64x48", "--seconds", "1", "--fps", "4",
                                 "--frames", "-", "scene.zrv"});
  ASSERT_EQ(out.status, 0) << out.err;
  EXPECT_EQ(out.err, "");
  EXPECT_EQ(out.out.size(), 4u * 64 * 48 * 3);
  EXPECT_EQ(Render({"--quiet=yes", "scene.zrv"}).status, 2);
}

}  // namespace
}  // namespace zirvo::testing
