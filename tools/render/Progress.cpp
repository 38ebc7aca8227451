#include "render/Progress.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace zirvo::tools {

namespace {

constexpr int kBarWidth = 20;
constexpr int kLineWidth = 79;
// Checked this often in simulated time, drawn at most this often in wall time.
constexpr std::uint64_t kChecksPerRun = 1000;
constexpr std::chrono::milliseconds kRedrawEvery{250};

// "1:05" or "12 s".
std::string WallTime(double seconds) {
  const auto whole = static_cast<long long>(seconds + 0.5);
  if (whole < 60)
    return std::to_string(whole) + " s";
  const long long minutes = whole / 60;
  const long long rest = whole % 60;
  return std::to_string(minutes) + ":" + (rest < 10 ? "0" : "") + std::to_string(rest);
}

}  // namespace

Progress::Progress(std::uint64_t totalUs, bool enabled)
    : totalUs_(std::max<std::uint64_t>(totalUs, 1)),
      enabled_(enabled),
      started_(std::chrono::steady_clock::now()),
      drawnAt_(started_) {}

bool Progress::StderrIsTerminal() {
  return isatty(STDERR_FILENO) == 1;
}

void Progress::Draw(std::uint64_t nowUs, std::uint64_t frames) {
  nextUs_ = nowUs + totalUs_ / kChecksPerRun;
  const auto now = std::chrono::steady_clock::now();
  if (drawn_ && now - drawnAt_ < kRedrawEvery)
    return;
  drawnAt_ = now;
  const std::uint64_t done = std::min(nowUs, totalUs_);
  const auto filled = static_cast<int>(done * kBarWidth / totalUs_);
  std::string bar(static_cast<std::size_t>(filled), '#');
  bar.resize(kBarWidth, '.');
  const double wall = std::chrono::duration<double>(now - started_).count();
  const double simulated = static_cast<double>(done) / 1e6;
  char line[160];
  int length =
      std::snprintf(line, sizeof line, "[%s] %.1f/%.1f s, %llu frames", bar.c_str(), simulated,
                    static_cast<double>(totalUs_) / 1e6, static_cast<unsigned long long>(frames));
  if (wall > 0.25 && simulated > 0) {
    const double rate = simulated / wall;
    const double left = (static_cast<double>(totalUs_) / 1e6 - simulated) / rate;
    length += std::snprintf(line + length, sizeof line - static_cast<std::size_t>(length),
                            ", %.2fx real time, %s left", rate, WallTime(left).c_str());
  }
  std::fprintf(stderr, "\r%-*.*s", kLineWidth, kLineWidth, line);
  std::fflush(stderr);
  drawn_ = true;
}

void Progress::Done() {
  if (!drawn_)
    return;
  std::fprintf(stderr, "\r%*s\r", kLineWidth, "");
  std::fflush(stderr);
  drawn_ = false;
}

}  // namespace zirvo::tools
