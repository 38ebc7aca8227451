// A progress line on stderr while rendering, for a person at a terminal: a
// bar, the simulated seconds done of the total, the frames taken, how many
// times real time the render runs and the wall time it still needs. Silent
// when not enabled (stderr is not a terminal, or --quiet).
#pragma once

#include <chrono>
#include <cstdint>

namespace zirvo::tools {

class Progress {
 public:
  Progress(std::uint64_t totalUs, bool enabled);

  void Update(std::uint64_t nowUs, std::uint64_t frames) {
    if (enabled_ && nowUs >= nextUs_)
      Draw(nowUs, frames);
  }
  // Clears the line.
  void Done();

  static bool StderrIsTerminal();

 private:
  void Draw(std::uint64_t nowUs, std::uint64_t frames);

  std::uint64_t totalUs_;
  bool enabled_;
  std::chrono::steady_clock::time_point started_;
  std::chrono::steady_clock::time_point drawnAt_;
  std::uint64_t nextUs_ = 0;
  bool drawn_ = false;
};

}  // namespace zirvo::tools
