#include "BenchShow.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <new>

#include "UnhintedStore.h"

namespace zirvo::bench {

std::string SceneDirectory() {
  return ZIRVO_BENCH_SCENES;
}

bool QuickMode() {
  const char* quick = std::getenv("ZIRVO_BENCH_QUICK");
  return quick != nullptr && *quick != '\0' && *quick != '0';
}

PlainArraySink::PlainArraySink(std::int32_t width, std::int32_t height)
    : width_(width),
      height_(height),
      // Scattered pixels, as in a real screen's memory: huge pages where there are.
      cells_(AllocateHugePageBlock<COLORREF>(std::size_t(width) * std::size_t(height))) {
  if (!cells_)
    throw std::bad_alloc();
  std::fill_n(cells_.get(), std::size_t(width) * std::size_t(height), kBlack);
  DescribeCells(cells_.get(), width, height, sizeof(COLORREF));
}

void PlainArraySink::SetPixel(std::int32_t x, std::int32_t y, COLORREF colour) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_)
    return;
  cells_[std::size_t(y) * std::size_t(width_) + std::size_t(x)] = colour;
}

std::uint64_t PlainArraySink::Checksum() const {
  std::uint64_t sum = 0;
  for (std::size_t i = 0; i < std::size_t(width_) * std::size_t(height_); ++i)
    sum = sum * 31 + cells_[i];
  return sum;
}

BenchShow::BenchShow(const std::string& scene, StoreMaker makeStore, StoreHints hints) {
  const std::string dir = SceneDirectory();
  ProgramArgs args;
  args.hasProgram = true;
  args.program = dir + "/zirvo";  // the settings file is found beside the program
  args.hasScene = true;
  args.scene = dir + "/" + scene;
  LoadEnvironment env;
  env.screen = ScreenSize{1920, 1080};
  env.currentDirectory = dir;
  env.style = PathStyle::kPosix;
  if (LoadScene(show, args, env, time, nullptr, DefaultPoolMemory(), makeStore) == 0) {
    std::fprintf(stderr, "cannot load the benchmark scene %s\n", args.scene.c_str());
    std::abort();
  }
  if (hints == StoreHints::kDropped) {
    // The engine keeps a reference to its store: a new one for the wrapped store.
    show.TrailStore = std::make_unique<UnhintedStore>(std::move(show.TrailStore));
    show.engine = std::make_unique<Engine>(show.scene.specs, show.scene.map, *show.TrailStore,
                                           show.random, time);
  }
  show.random.Seed(20261209);
}

}  // namespace zirvo::bench
