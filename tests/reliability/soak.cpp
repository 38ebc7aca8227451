// The soak: 500 live swirls of ten kinds for more than an hour of show time on
// a simulated clock, with every invariant of the engine and the store checked
// after every pass. The trails all stay on the virtual screen (fixed targets
// well inside it), so each trail must be exactly as long as its life cycle
// says. Memory must settle: the pool stops growing once every slot has cycled,
// and resident memory stays flat from then to the end of the show.
//
// Runs under the ctest label "soak" (about a minute of wall time).
#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "support/ShowRunner.h"
#include "support/TempDir.h"

namespace zirvo::testing {
namespace {

std::size_t ResidentBytes() {
  std::ifstream statm("/proc/self/statm");
  std::size_t size = 0;
  std::size_t resident = 0;
  statm >> size >> resident;
  return resident * static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
}

// Ten kinds of 50 swirls each on an 800 x 600 virtual screen. Starts are
// random anywhere; targets are fixed at least max(a, b) + 1 from every edge, and
// the exponential factor stays in (0, 1], so every point lies on the screen.
std::string HeavyScene() {
  struct Kind {
    int fx, fy, a, b, v, nw, nn, nv, bs, dt, m, start, stop;
    const char* colour;
  };
  const Kind kinds[] = {
      {400, 300, 200, 50, 5, 1024, 100, 3000, 400, 0, 0, 0, 3600, "a"},
      {400, 300, 120, 120, -3, 256, -64, 2000, 350, 1, 1, 0, 3600, "r"},
      {200, 150, 100, 40, 0, 512, 300, 1500, 300, 0, 0, 0, 3000, "12"},
      {600, 450, 90, 90, 8, -300, 50, 2500, 250, 2, 1, 0, 3600, "a"},
      {600, 150, 60, 140, 2, 128, 1000, 1200, 200, 0, 0, 600, 3600, "10"},
      {200, 450, 140, 30, -6, 700, -90, 1800, 150, 0, 1, 0, 3400, "r"},
      {400, 300, 40, 40, 1, 64, 16, 1000, 100, 3, 0, 0, 3600, "a"},
      {300, 300, 150, 80, 4, 900, 200, 2200, 120, 0, 0, 1200, 3600, "14"},
      {500, 300, 100, 100, -1, 333, -333, 1600, 180, 1, 1, 0, 3600, "a"},
      {400, 200, 180, 60, 3, 2048, 77, 2800, 240, 0, 0, 0, 3500, "r"},
  };
  std::ostringstream scene;
  for (const Kind& k : kinds) {
    scene << "fx=" << k.fx << "\nfy=" << k.fy << "\na=" << k.a << "\nb=" << k.b << "\nv=" << k.v
          << "\nnw=" << k.nw << "\nnn=" << k.nn << "\nnv=" << k.nv << "\nbs=" << k.bs
          << "\ndt=" << k.dt << "\nm=" << k.m << "\nstart=" << k.start << "\nstop=" << k.stop
          << "\nc=" << k.colour << "\nn=50\np=2\n\n";
  }
  return scene.str();
}

// Every kind's trails at full length at once: the most the store ever needs.
constexpr std::uint64_t kMostPoints =
    50u * (400 + 350 + 300 + 250 + 200 + 150 + 100 + 120 + 180 + 240);

TEST(Soak, AnHourOfTheHeaviestShowKeepsEveryInvariantAndSettles) {
  constexpr std::uint64_t kMicrosPerTurn = 500;
  // The last kind starts at 20 minutes; from 25 minutes on every kind cycles.
  constexpr std::uint64_t kSteadyFrom = 25ull * 60 * 1000000;
  const auto wallStart = std::chrono::steady_clock::now();
  const std::size_t residentAtStart = ResidentBytes();

  testing::TempDir dir;
  SceneFiles files(dir, "screen=800x600\nscale=y\nbuffer=1\n", HeavyScene(), ScreenSize{1024, 768});
  SimulatedClock clock(kMicrosPerTurn);
  ShadowedShow run;
  ASSERT_EQ(run.Load(files, clock), 1);
  ASSERT_EQ(run.show.scene.specs.SpecCount, 10);
  PointStore& store = *run.show.TrailStore;
  const std::uint32_t initialCapacity = store.Capacity();

  CountingSink sink;
  int passes = 0;
  bool finished = false;
  std::uint64_t peakStored = 0;
  std::int32_t peakLive = 0;
  std::uint32_t steadyCapacity = 0;
  std::size_t steadyResident = 0;
  std::uint64_t lastGrowthMicros = 0;
  std::uint32_t capacity = initialCapacity;
  // The show's stop times end at 3600 s; its last swirls need a few minutes more.
  constexpr int kMaxPasses = 200000;
  while (!finished && passes < kMaxPasses) {
    finished = run.engine->DrawingPass(sink, clock) != 0;
    ++passes;
    const std::string broken = CheckEngine(*run.engine, run.shadow.get(), true);
    ASSERT_EQ(broken, "") << "after pass " << passes << " at " << clock.Seconds() << " s";
    ASSERT_EQ(run.shadow->Refused(), 0u) << "a point left the screen or found no node";
    peakStored = std::max<std::uint64_t>(peakStored, store.StoredPoints());
    peakLive = std::max(peakLive, kMaxLiveSwirls - run.engine->FreeSlots());
    if (store.Capacity() != capacity) {
      capacity = store.Capacity();
      lastGrowthMicros = clock.NowUs();
    }
    if (steadyCapacity == 0 && clock.NowUs() >= kSteadyFrom) {
      steadyCapacity = store.Capacity();
      steadyResident = ResidentBytes();
    }
  }
  const std::size_t residentAtEnd = ResidentBytes();
  const double wallSeconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();

  std::printf(
      "soak: %.2f simulated hours, %d passes, %llu turns, %llu pixels, %.1f s wall\n"
      "soak: peak %d live swirls, peak %llu stored points (at most %llu possible), pool %u -> %u "
      "nodes, last growth at %.0f s\n"
      "soak: resident %.1f MiB at start, %.1f MiB at 25 min, %.1f MiB at the end\n",
      clock.Seconds() / 3600.0, passes, static_cast<unsigned long long>(clock.Delays()),
      static_cast<unsigned long long>(sink.pixels), wallSeconds, peakLive,
      static_cast<unsigned long long>(peakStored), static_cast<unsigned long long>(kMostPoints),
      initialCapacity, store.Capacity(), static_cast<double>(lastGrowthMicros) / 1e6,
      static_cast<double>(residentAtStart) / 1048576.0,
      static_cast<double>(steadyResident) / 1048576.0,
      static_cast<double>(residentAtEnd) / 1048576.0);

  EXPECT_TRUE(finished) << "the show did not end by itself";
  EXPECT_GE(clock.Seconds(), 3600.0);
  EXPECT_EQ(peakLive, kMaxLiveSwirls);
  EXPECT_GT(peakStored, std::uint64_t{initialCapacity});  // the pool had to grow
  EXPECT_LE(peakStored, kMostPoints);
  // The pool grows only when full, one block at a time, and not after the scene
  // has settled.
  EXPECT_LE(store.Capacity(), std::max<std::uint64_t>(initialCapacity, peakStored + 2047));
  EXPECT_EQ(store.Capacity(), steadyCapacity);
  EXPECT_LT(residentAtEnd, steadyResident + (std::size_t{2} << 20));
  // The show ended with every swirl released and every trail erased.
  EXPECT_EQ(run.engine->FreeSlots(), kMaxLiveSwirls);
  EXPECT_EQ(store.StoredPoints(), 0u);
}

}  // namespace
}  // namespace zirvo::testing
