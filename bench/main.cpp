// zirvo_bench: every benchmark of the show, reported by Google Benchmark as
// usual. bench/table.py reads its JSON (--benchmark_out=FILE
// --benchmark_out_format=json) and prints the figures as one table.
#include <benchmark/benchmark.h>

#include "BenchShow.h"
#include "Benchmarks.h"

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv))
    return 1;
  const bool quick = zirvo::bench::QuickMode();
  zirvo::bench::RegisterPassBenchmarks(quick);
  zirvo::bench::RegisterPacingBenchmarks(quick);
  zirvo::bench::RegisterSdlScreenBenchmarks(quick);
  zirvo::bench::RegisterSdlPresentBenchmarks(quick);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
