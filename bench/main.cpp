// zirvo_bench: every benchmark of the show. With --table the runs are gathered
// into one table (bench/run); without it Google Benchmark reports as usual.
// --extra-rows=FILE adds rows measured elsewhere to the table.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "BenchShow.h"
#include "Benchmarks.h"
#include "TableReporter.h"

int main(int argc, char** argv) {
  bool table = false;
  std::string extraRows;
  std::vector<char*> args;
  const std::string extraFlag = "--extra-rows=";
  for (int i = 0; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--table") {
      table = true;
    } else if (arg.rfind(extraFlag, 0) == 0) {
      extraRows = arg.substr(extraFlag.size());
    } else {
      args.push_back(argv[i]);
    }
  }
  int count = static_cast<int>(args.size());
  benchmark::Initialize(&count, args.data());
  if (benchmark::ReportUnrecognizedArguments(count, args.data()))
    return 1;

  const bool quick = zirvo::bench::QuickMode();
  zirvo::bench::RegisterPassBenchmarks(quick);
  zirvo::bench::RegisterPacingBenchmarks(quick);
#if ZIRVO_BENCH_SDL
  zirvo::bench::RegisterSdlScreenBenchmarks(quick);
  zirvo::bench::RegisterSdlPresentBenchmarks(quick);
#endif
  if (table) {
    zirvo::bench::TableReporter reporter(extraRows);
    benchmark::RunSpecifiedBenchmarks(&reporter);
  } else {
    benchmark::RunSpecifiedBenchmarks();
  }
  benchmark::Shutdown();
  return 0;
}
