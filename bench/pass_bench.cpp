// Points per second through the real drawing pass with each store, and the
// floor of the motion alone, on the benchmark scenes once their trails are full.
#include <benchmark/benchmark.h>

#include <vector>

#include "BenchShow.h"
#include "Benchmarks.h"
#include "FloorMotion.h"

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

const char* StoreName(StoreKind kind) {
  return kind == StoreKind::kIndexed ? "indexed" : "rowwalk";
}

void PassBenchmark(benchmark::State& state, const SceneRun& run, StoreKind kind) {
  BenchShow bench(run.file, kind);
  bench.Passes(QuickMode() ? 20 : run.warmPasses);
  // The store as both kinds hold it after the same passes: full trails.
  const PointStore& store = *bench.show.TrailStore;
  state.counters["stored"] = static_cast<double>(store.StoredPoints());
  state.counters["capacity"] = static_cast<double>(store.Capacity());
  state.counters["bytes"] = static_cast<double>(store.MemoryBytes());
  const std::uint64_t turnsBefore = bench.delay.turns;
  for (auto _ : state)
    bench.Pass();
  const auto turns = static_cast<double>(bench.delay.turns - turnsBefore);
  state.counters["turns_per_s"] = benchmark::Counter(turns, benchmark::Counter::kIsRate);
  benchmark::DoNotOptimize(bench.pixels.Checksum());
}

void FloorBenchmark(benchmark::State& state, const SceneRun& run) {
  BenchShow bench(run.file, StoreKind::kIndexed);
  bench.Passes(run.launchPasses);
  struct Live {
    const SwirlSpec* kind;
    Swirl swirl;
  };
  std::vector<Live> live;
  for (const Swirl& swirl : bench.show.engine->SwirlTable) {
    if (swirl.spec >= 0)
      live.push_back({&bench.show.scene.specs[swirl.spec], swirl});
  }
  std::int64_t sum = 0;
  for (auto _ : state) {
    for (Live& l : live) {
      const ScreenPoint p = FloorStep(*l.kind, l.swirl);
      sum += p.x + p.y;
    }
    benchmark::DoNotOptimize(sum);
  }
  const auto points = static_cast<double>(state.iterations()) * static_cast<double>(live.size());
  state.counters["turns_per_s"] = benchmark::Counter(points, benchmark::Counter::kIsRate);
  state.counters["swirls"] = static_cast<double>(live.size());
}

}  // namespace

void RegisterPassBenchmarks(bool quick) {
  for (const SceneRun& run : kRuns) {
    for (StoreKind kind : {StoreKind::kIndexed, StoreKind::kRowWalk}) {
      const std::uint64_t passes =
          kind == StoreKind::kIndexed ? run.indexedPasses : run.rowWalkPasses;
      benchmark::RegisterBenchmark(
          (std::string("pass/") + run.name + "/" + StoreName(kind)).c_str(),
          [&run, kind](benchmark::State& state) { PassBenchmark(state, run, kind); })
          ->Iterations(static_cast<benchmark::IterationCount>(quick ? 2 : passes))
          ->Unit(benchmark::kMillisecond);
    }
    benchmark::RegisterBenchmark((std::string("floor/") + run.name).c_str(),
                                 [&run](benchmark::State& state) { FloorBenchmark(state, run); })
        ->Iterations(static_cast<benchmark::IterationCount>(quick ? 2 : 20000))
        ->Unit(benchmark::kMicrosecond);
  }
}

}  // namespace zirvo::bench
