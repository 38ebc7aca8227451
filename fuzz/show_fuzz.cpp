// The whole show from fuzzed files: load both files from memory, then run up to
// a few thousand drawing passes on a simulated clock, with the engine's
// bookkeeping checked after every pass. The input is the settings file, a form
// feed, and the scene file (no form feed: an empty settings file).
//
// Bounds, so one input costs at most a few milliseconds: the physical screen is
// fixed and small, pools above 64 MiB are refused (buffer=4096 leaves the store
// inert, as it would be on a machine without that memory), and the run stops
// after kMaxPasses passes or kMaxTurns turns (each turn stores at most one
// point, so that also bounds the trails). The same input also runs on the
// reference store, and both must draw the very same pixels, unless the
// reference alone is inert: its row table is as long as the virtual screen is
// high, and the pool cap may refuse it where the indexed store needs none.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "FuzzCheck.h"
#include "engine/PixelSink.h"
#include "engine/RowWalkPointStore.h"
#include "engine/Show.h"
#include "engine/SimulatedClock.h"
#include "scene/MemoryFiles.h"
#include "support/CappedPoolMemory.h"
#include "support/EngineInvariants.h"

namespace {

constexpr std::size_t kPoolCap = std::size_t{64} << 20;
constexpr int kMaxPasses = 1500;
constexpr std::uint64_t kMaxTurns = 20000;
constexpr std::uint64_t kMicrosPerTurn = 20000;
// No pass may set more pixels than this: a turn that never ends is a finding.
constexpr std::uint64_t kMaxPixelsPerPass = std::uint64_t{1} << 26;

// Hashes the pixel stream, so two runs can be compared without keeping it.
class HashingSink final : public zirvo::PixelSink {
 public:
  void SetPixel(std::int32_t x, std::int32_t y, zirvo::COLORREF colour) override {
    for (std::uint32_t word :
         {static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y), colour}) {
      hash = (hash ^ word) * 1099511628211ull;
    }
    ++pixels;
    ++pixelsThisPass;
    FUZZ_CHECK(pixelsThisPass <= kMaxPixelsPerPass, "one pass sets pixels without end");
  }
  std::uint64_t hash = 14695981039346656037ull;
  std::uint64_t pixels = 0;
  std::uint64_t pixelsThisPass = 0;
};

struct RunResult {
  int loaded = 0;
  bool inert = false;  // the store got no memory
  std::uint64_t hash = 0;
  std::uint64_t pixels = 0;
  int passes = 0;
  bool finished = false;
};

RunResult RunShow(const std::string& settings, const std::string& scene,
                  zirvo::StoreMaker makeStore) {
  zirvo::MemoryFiles files;
  files.Put("/zirvo/zirvo.ini", settings);
  files.Put("scene", scene);
  zirvo::LoadEnvironment env;
  env.screen = zirvo::ScreenSize{320, 240};
  env.currentDirectory = "/work";
  env.style = zirvo::PathStyle::kPosix;
  env.opener = &files;
  zirvo::ProgramArgs args;
  args.hasProgram = true;
  args.program = "/zirvo/zirvo";
  args.hasScene = true;
  args.scene = "scene";

  zirvo::testing::CappedPoolMemory memory(kPoolCap);
  zirvo::SimulatedClock clock(kMicrosPerTurn);
  zirvo::Show show;
  RunResult result;
  result.loaded = zirvo::LoadScene(show, args, env, clock, nullptr, memory, makeStore);
  if (result.loaded == 0)
    return result;

  result.inert = show.TrailStore->IsInert();
  // The engine runs on a shadow of the loaded store, so its trails can be walked.
  zirvo::testing::TrailShadow shadow(*show.TrailStore);
  zirvo::Engine engine(show.scene.specs, show.scene.map, shadow, show.random, clock);
  HashingSink sink;
  while (result.passes < kMaxPasses && clock.Delays() < kMaxTurns) {
    sink.pixelsThisPass = 0;
    const int over = engine.DrawingPass(sink, clock);
    ++result.passes;
    // Checking costs more than a quiet pass: check every pass at first, then
    // every 16th, and the last one.
    if (result.passes > 64 && result.passes % 16 != 0 && over == 0)
      continue;
    const std::string broken = zirvo::testing::CheckEngine(engine, &shadow, false);
    if (!broken.empty()) {
      std::fprintf(stderr, "after pass %d: %s\n", result.passes, broken.c_str());
      std::abort();
    }
    if (over != 0) {
      result.finished = true;
      // A kind with a negative n counts its credit back to n at its first
      // release, so the show may end with some of its swirls still live.
      bool creditsMeanNothingLive = true;
      for (int k = 0; k < show.scene.specs.SpecCount; ++k)
        creditsMeanNothingLive = creditsMeanNothingLive && show.scene.specs[k].n >= 0;
      if (creditsMeanNothingLive) {
        FUZZ_CHECK(engine.FreeSlots() == zirvo::kMaxLiveSwirls, "the show ended with live swirls");
        FUZZ_CHECK(show.TrailStore->StoredPoints() == 0, "the show ended with points stored");
      }
      break;
    }
  }
  FUZZ_CHECK(zirvo::testing::CheckEngine(engine, &shadow, false).empty(),
             "the bookkeeping broke after the last pass");
  result.hash = sink.hash;
  result.pixels = sink.pixels;
  return result;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const std::size_t split = input.find('\f');
  const std::string settings = split == std::string::npos ? std::string() : input.substr(0, split);
  const std::string scene = split == std::string::npos ? input : input.substr(split + 1);

  const RunResult shown = RunShow(settings, scene, &zirvo::MakePointStore);
  const RunResult reference = RunShow(settings, scene, &zirvo::MakeRowWalkPointStore);
  FUZZ_CHECK(shown.loaded == reference.loaded, "the store kind changed whether it loads");
  // The indexed store is inert only when its pool is refused (without its
  // index it searches the pool), and the reference asks for the same pool.
  FUZZ_CHECK(!shown.inert || reference.inert, "the indexed store was inert and the reference not");
  if (reference.inert && !shown.inert)
    return 0;  // only the indexed store draws: nothing to compare with
  FUZZ_CHECK(shown.passes == reference.passes && shown.finished == reference.finished,
             "the store kind changed the length of the show");
  FUZZ_CHECK(shown.pixels == reference.pixels && shown.hash == reference.hash,
             "the indexed store drew other pixels than the reference store");
  return 0;
}
