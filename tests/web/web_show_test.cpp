// The web page's backend: the files from memory read as files on disk are, the
// trace as zirvo-render makes it, the notes as zirvo-check gives them, the
// live show paced by the frame pacer on zirvo's clock, and the RGBA screen the
// canvas shows.
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "platform/web/RgbaScreen.h"
#include "platform/web/WebShow.h"
#include "report/NoteFormat.h"
#include "report/TraceLine.h"
#include "support/ClockRule.h"
#include "support/ShowRunner.h"

namespace zirvo {
namespace {

constexpr const char* kSettings = "screen=320x200\nscale=u\nbuffer=1\n";
constexpr const char* kScene =
    "a=40\nb=20\nnv=300\nbs=100\nn=5\ndt=0\np=2\nc=a\nstop=2\n\n"
    "a=60\nb=30\nnv=200\nbs=200\nn=3\ndt=2\nm=1\nc=r\nstart=1\nstop=3\nfx=r\n";

// The same show loaded from files on disk and run as zirvo-render runs it.
std::string TraceFromDisk(const std::string& settings, const std::string& scene, ScreenSize screen,
                          std::uint32_t seed, std::uint64_t limitUs) {
  testing::TempDir dir;
  const testing::SceneFiles files(dir, settings, scene, screen);
  SimulatedClock clock(100);
  Show show;
  EXPECT_EQ(LoadScene(show, files.args, files.env, clock), 1);
  show.random.Seed(seed);
  struct Lines final : PixelSink {
    std::string text;
    void SetPixel(std::int32_t x, std::int32_t y, COLORREF colour) override {
      AppendTraceLine(text, x, y, colour);
    }
  } lines;
  RunOnClock(*show.engine, clock, lines, limitUs);
  return lines.text;
}

TEST(WebShow, TraceIsTheOneOfTheSameFilesOnDisk) {
  const web::ShowInputs inputs{kScene, kSettings, ScreenSize{640, 480}, 1234};
  const std::string trace = web::TraceShow(inputs, 60, std::numeric_limits<std::uint64_t>::max());
  ASSERT_GT(trace.size(), 10000u);
  EXPECT_EQ(trace, TraceFromDisk(kSettings, kScene, ScreenSize{640, 480}, 1234, 60'000'000));

  // Another seed, another show; the first lines of a trace are the trace's.
  web::ShowInputs other = inputs;
  other.seed = 1235;
  EXPECT_NE(web::TraceShow(other, 60, 50), trace.substr(0, web::TraceShow(other, 60, 50).size()));
  const std::string head = web::TraceShow(inputs, 60, 50);
  EXPECT_EQ(head, trace.substr(0, head.size()));
  EXPECT_EQ(std::count(head.begin(), head.end(), '\n'), 50);

  // A short run stops where zirvo-render's --seconds stops it.
  EXPECT_EQ(web::TraceShow(inputs, 0.25, std::numeric_limits<std::uint64_t>::max()),
            TraceFromDisk(kSettings, kScene, ScreenSize{640, 480}, 1234, 250'000));
}

TEST(WebShow, NotesNameTheTwoFilesInReadingOrderAsZirvoCheckPrintsThem) {
  const web::ShowInputs inputs{"colr=5\nnv=50\n\nbs=zz\n", "scale=u\nspeed=3\n",
                               ScreenSize{320, 200}, 1};
  web::WebShow show(inputs, 100000);
  ASSERT_TRUE(show.Loaded());
  const std::vector<Note>& notes = show.Notes().notes;
  ASSERT_GE(notes.size(), 3u);
  EXPECT_EQ(notes[0].file, "zirvo.ini");
  EXPECT_EQ(notes[0].line, 2u);
  EXPECT_EQ(notes[1].file, "scene.zrv");
  EXPECT_EQ(notes[1].line, 1u);
  EXPECT_EQ(notes[1].code, NoteCode::kUnknownKey);
  EXPECT_EQ(notes.back().file, "scene.zrv");
  EXPECT_EQ(notes.back().line, 4u);
  EXPECT_EQ(FormatNote(notes[1]).rfind("scene.zrv:1: warning: ", 0), 0u);

  const std::string json = web::NotesJson(show.Notes());
  EXPECT_EQ(json.front(), '[');
  EXPECT_NE(json.find("\"code\": \"unknown-key\", \"file\": \"scene.zrv\", \"line\": 1"),
            std::string::npos);
  // FormatNote's two lines, the heading and the quoted line.
  EXPECT_NE(json.find("\"shown\": \"scene.zrv:1: warning: "), std::string::npos);
  EXPECT_NE(json.find("\\n    colr=5\\n\"}"), std::string::npos);
}

TEST(WebShow, ASceneThatDoesNotLoadSaysWhyAndHasNoShow) {
  testing::FakeNanosecondClock clock;
  testing::CountingSink screen;
  web::LiveShow broken({"nv=5\n", "screen=1x100\n", ScreenSize{320, 200}, 1}, screen, clock);
  EXPECT_FALSE(broken.Loaded());
  clock.now += 16'666'667;
  EXPECT_EQ(broken.Frame().delays, 0u);
  EXPECT_FALSE(broken.Finished());
  ASSERT_FALSE(broken.Notes().notes.empty());
  EXPECT_EQ(broken.Notes().notes.back().code, NoteCode::kVirtualTooSmall);
  EXPECT_EQ(broken.Notes().notes.back().file, "zirvo.ini");
  EXPECT_EQ(web::TraceShow({"nv=5\n", "screen=1x100\n", ScreenSize{320, 200}, 1}, 5, 100), "");
}

// The page's show on the clock-rule scene at `speed`, frames 1/60 s apart,
// until it has ended by itself.
testing::TimedRun RunLiveShow(double speed) {
  testing::FakeNanosecondClock clock;
  testing::TimedRun run;
  testing::TimedRecorder screen(clock.now, run);
  const web::ShowInputs inputs{testing::kClockRuleScene, testing::kClockRuleSettings,
                               testing::kClockRuleScreen, 23};
  web::LiveShow live(inputs, screen, clock);
  live.Pacer().SetSpeed(speed);
  for (; clock.now < testing::kClockRuleRunNs && !live.Finished();
       clock.now += FramePacer::kDefaultFrameNs) {
    const FrameWork work = live.Frame();
    run.delays += work.delays;
    run.turns += work.turns;
    run.endNs = clock.now;
    // The show's seconds are the real seconds, to within the last Delay.
    if (!live.Finished()) {
      const double lead = live.ShowSeconds() * 1e9 - static_cast<double>(clock.now);
      EXPECT_GE(lead, -1.0);
      EXPECT_LT(lead, static_cast<double>(live.Pacer().StepNs()));
    }
  }
  EXPECT_TRUE(live.Finished());
  return run;
}

TEST(WebShow, TheLiveShowKeepsZirvosClockAtEverySpeed) {
  testing::ExpectZirvosClockAtEverySpeed(
      23, FramePacer::kDefaultFrameNs,
      [](const testing::TempDir&, double speed) { return RunLiveShow(speed); });
}

TEST(WebShow, APageThatCannotKeepUpRunsBehindWithinItsFrame) {
  // A clock that moves a millisecond at every look: the frame's deadline,
  // half a frame, comes after a few looks, and the show falls behind.
  class BusyClock final : public NanosecondClock {
   public:
    std::uint64_t NowNs() override { return now += 1'000'000; }
    std::uint64_t now = 0;
  } clock;
  testing::CountingSink screen;
  const web::ShowInputs inputs{kScene, kSettings, ScreenSize{640, 480}, 99};
  web::LiveShow live(inputs, screen, clock);
  live.Pacer().SetSpeed(FramePacer::kMaxSpeed);
  live.Frame();
  clock.now += 100'000'000;
  const FrameWork work = live.Frame();
  EXPECT_TRUE(work.behind);
  EXPECT_LE(work.delays, 9 * PacedShow::kDelaysPerClockLook);
  EXPECT_LT(live.ShowSeconds(), 0.1);
}

TEST(RgbaScreen, StoresCanvasBytesClipsAndTracksTheChangedRectangle) {
  web::RgbaScreen screen(4, 3);
  const auto* bytes = reinterpret_cast<const unsigned char*>(screen.Pixels());
  EXPECT_EQ(bytes[3], 0xFF) << "opaque black at first";
  screen.SetPixel(1, 2, 0x00332211);  // blue 33, green 22, red 11
  const std::size_t at = (2 * 4 + 1) * 4;
  EXPECT_EQ(bytes[at + 0], 0x11);
  EXPECT_EQ(bytes[at + 1], 0x22);
  EXPECT_EQ(bytes[at + 2], 0x33);
  EXPECT_EQ(bytes[at + 3], 0xFF);
  screen.SetPixel(3, 0, 0x000000FF);
  for (auto [x, y] : {std::pair{-1, 0}, {4, 0}, {0, -1}, {0, 3}, {-2147483647 - 1, 1}})
    screen.SetPixel(x, y, 0x00FFFFFF);
  EXPECT_EQ(screen.TakeChanged(), (Rect{1, 0, 3, 3}));
  EXPECT_TRUE(screen.TakeChanged().Empty()) << "taken";
}

}  // namespace
}  // namespace zirvo
