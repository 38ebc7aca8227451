#include "render/Progress.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace zirvo::tools {

namespace {

constexpr int kBarWidth = 30;
constexpr std::uint64_t kRedrawsPerRun = 200;

}  // namespace

Progress::Progress(std::uint64_t totalUs, bool enabled)
    : totalUs_(std::max<std::uint64_t>(totalUs, 1)), enabled_(enabled) {}

bool Progress::StderrIsTerminal() {
  return isatty(STDERR_FILENO) == 1;
}

void Progress::Draw(std::uint64_t nowUs) {
  const std::uint64_t done = std::min(nowUs, totalUs_);
  const auto filled = static_cast<int>(done * kBarWidth / totalUs_);
  std::string bar(static_cast<std::size_t>(filled), '#');
  bar.resize(kBarWidth, '.');
  std::fprintf(stderr, "\r[%s] %.1f of %.1f simulated s", bar.c_str(),
               static_cast<double>(done) / 1e6, static_cast<double>(totalUs_) / 1e6);
  std::fflush(stderr);
  drawn_ = true;
  nextUs_ = nowUs + totalUs_ / kRedrawsPerRun;
}

void Progress::Done() {
  if (!drawn_)
    return;
  std::fprintf(stderr, "\r%*s\r", kBarWidth + 40, "");
  std::fflush(stderr);
  drawn_ = false;
}

}  // namespace zirvo::tools
