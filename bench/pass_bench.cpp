// Points per second through the real drawing pass with each store, and the
// floor of the motion alone, on the benchmark scenes once their trails are full.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <vector>

#include "BenchShow.h"
#include "Benchmarks.h"
#include "FloorMotion.h"
#include "engine/IndexedPointStore.h"
#include "engine/RowWalkPointStore.h"

namespace zirvo::bench {

namespace {

struct SceneRun {
  const char* name;
  const char* file;
  // Passes before measuring: every swirl launched and its trail full (3000
  // steps), well before the first swirls end at 8192 steps.
  std::uint64_t warmPasses;
  std::uint64_t indexedPasses;
  std::uint64_t rowWalkPasses;
  std::uint64_t launchPasses;  // passes until every swirl is live (for the floor)
};

// dense: 500 swirls, one step per turn. crossing: 200 swirls on shared pixels.
// default: one swirl that steps on every 51st turn (dt 50), so 160000 passes
// fill its trail; its turns are mostly countdowns.
const SceneRun kRuns[] = {
    {"dense", "dense.zrv", 3020, 2000, 6, 12},
    {"crossing", "crossing.zrv", 3060, 2000, 30, 52},
    {"default", "default.zrv", 160000, 200000, 100000, 1},
};

// The size of the nodes `store` holds.
double NodeBytes(const PointStore& store) {
  return dynamic_cast<const IndexedPointStore*>(&store) != nullptr ? sizeof(PackedNode)
                                                                   : sizeof(PointNode);
}

const char* StoreName(StoreMaker makeStore) {
  return makeStore == &MakePointStore ? "indexed" : "rowwalk";
}

void PassBenchmark(benchmark::State& state, const SceneRun& run, StoreMaker makeStore,
                   StoreHints hints = StoreHints::kPassed) {
  BenchShow bench(run.file, makeStore, hints);
  bench.Passes(QuickMode() ? 20 : run.warmPasses);
  // The store as both kinds hold it after the same passes: full trails.
  const PointStore& store = *bench.show.TrailStore;
  state.counters["stored"] = static_cast<double>(store.StoredPoints());
  state.counters["capacity"] = static_cast<double>(store.Capacity());
  state.counters["bytes"] = static_cast<double>(store.MemoryBytes());
  state.counters["node_bytes"] = NodeBytes(store);
  const std::uint64_t turnsBefore = bench.delay.turns;
  for (auto _ : state)
    bench.Pass();
  const auto turns = static_cast<double>(bench.delay.turns - turnsBefore);
  state.counters["turns_per_s"] = benchmark::Counter(turns, benchmark::Counter::kIsRate);
  benchmark::DoNotOptimize(bench.pixels.Checksum());
}

// Copies of a show's live swirls, for the floor to step.
struct LiveSwirl {
  const SwirlSpec* kind;
  Swirl swirl;
};

std::vector<LiveSwirl> CopyLiveSwirls(BenchShow& bench) {
  std::vector<LiveSwirl> live;
  for (const Swirl& swirl : bench.show.engine->SwirlTable()) {
    if (swirl.spec >= 0)
      live.push_back({&bench.show.scene.specs[swirl.spec], swirl});
  }
  return live;
}

// One floor step of every swirl in `live`, `times` times.
void FloorSteps(std::vector<LiveSwirl>& live, int times) {
  std::int64_t sum = 0;
  for (int i = 0; i < times; ++i) {
    for (LiveSwirl& l : live) {
      const ScreenPoint p = FloorStep(*l.kind, l.swirl);
      sum += p.x + p.y;
    }
    benchmark::DoNotOptimize(sum);
  }
}

void FloorBenchmark(benchmark::State& state, const SceneRun& run) {
  BenchShow bench(run.file, &MakePointStore);
  bench.Passes(run.launchPasses);
  std::vector<LiveSwirl> live = CopyLiveSwirls(bench);
  for (auto _ : state)
    FloorSteps(live, 1);
  const auto points = static_cast<double>(state.iterations()) * static_cast<double>(live.size());
  state.counters["turns_per_s"] = benchmark::Counter(points, benchmark::Counter::kIsRate);
  state.counters["swirls"] = static_cast<double>(live.size());
}

double ThreadSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0.0 : values[values.size() / 2];
}

// The pass with the indexed store and the floor, timed in alternating rounds
// of kRoundPasses passes and as many floor steps of every swirl: a slow
// stretch of a shared machine then falls on both, and the median round of
// each gives their ratio. Each iteration is one round.
constexpr int kRoundPasses = 50;

void SideBySideBenchmark(benchmark::State& state, const SceneRun& run) {
  BenchShow bench(run.file, &MakePointStore);
  bench.Passes(QuickMode() ? 20 : run.warmPasses);
  std::vector<LiveSwirl> live = CopyLiveSwirls(bench);
  std::vector<double> passNs;
  std::vector<double> floorNs;
  for (auto _ : state) {
    const std::uint64_t turnsBefore = bench.delay.turns;
    double start = ThreadSeconds();
    bench.Passes(kRoundPasses);
    const double turns = double(bench.delay.turns - turnsBefore);
    passNs.push_back((ThreadSeconds() - start) * 1e9 / std::max(turns, 1.0));
    start = ThreadSeconds();
    FloorSteps(live, kRoundPasses);
    const double steps = double(kRoundPasses) * double(live.size());
    floorNs.push_back((ThreadSeconds() - start) * 1e9 / std::max(steps, 1.0));
  }
  const double pass = Median(passNs);
  const double floor = Median(floorNs);
  state.counters["pass_ns"] = pass;
  state.counters["floor_ns"] = floor;
  state.counters["ratio"] = pass > 0 ? floor / pass : 0.0;
  state.counters["rounds"] = double(passNs.size());
  benchmark::DoNotOptimize(bench.pixels.Checksum());
}

}  // namespace

void RegisterPassBenchmarks(bool quick) {
  for (const SceneRun& run : kRuns) {
    for (StoreMaker makeStore : {&MakePointStore, &MakeRowWalkPointStore}) {
      const std::uint64_t passes =
          makeStore == &MakePointStore ? run.indexedPasses : run.rowWalkPasses;
      benchmark::RegisterBenchmark(
          (std::string("pass/") + run.name + "/" + StoreName(makeStore)).c_str(),
          [&run, makeStore](benchmark::State& state) { PassBenchmark(state, run, makeStore); })
          ->Iterations(static_cast<benchmark::IterationCount>(quick ? 2 : passes))
          ->Unit(benchmark::kMillisecond);
      if (makeStore == &MakePointStore && std::string(run.name) == "dense") {
        // Next to the hinted run, so that both meet the machine alike.
        benchmark::RegisterBenchmark("pass/dense/indexed/unhinted",
                                     [&run](benchmark::State& state) {
                                       PassBenchmark(state, run, &MakePointStore,
                                                     StoreHints::kDropped);
                                     })
            ->Iterations(static_cast<benchmark::IterationCount>(quick ? 2 : passes))
            ->Unit(benchmark::kMillisecond);
      }
    }
    benchmark::RegisterBenchmark((std::string("floor/") + run.name).c_str(),
                                 [&run](benchmark::State& state) { FloorBenchmark(state, run); })
        ->Iterations(static_cast<benchmark::IterationCount>(quick ? 2 : 20000))
        ->Unit(benchmark::kMicrosecond);
    if (std::string(run.name) != "default") {
      // As many passes as the indexed run: rounds of kRoundPasses.
      const auto rounds = static_cast<benchmark::IterationCount>(run.indexedPasses / kRoundPasses);
      benchmark::RegisterBenchmark(
          (std::string("side/") + run.name).c_str(),
          [&run](benchmark::State& state) { SideBySideBenchmark(state, run); })
          ->Iterations(quick ? 2 : rounds)
          ->Unit(benchmark::kMillisecond);
    }
  }
}

}  // namespace zirvo::bench
