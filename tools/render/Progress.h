// A progress bar on stderr while rendering, for a person at a terminal: the
// simulated seconds done of the total. Silent when stderr is not a terminal.
#pragma once

#include <cstdint>

namespace zirvo::tools {

class Progress {
 public:
  Progress(std::uint64_t totalUs, bool enabled);

  void Update(std::uint64_t nowUs) {
    if (enabled_ && nowUs >= nextUs_)
      Draw(nowUs);
  }
  // Clears the bar.
  void Done();

  static bool StderrIsTerminal();

 private:
  void Draw(std::uint64_t nowUs);

  std::uint64_t totalUs_;
  bool enabled_;
  std::uint64_t nextUs_ = 0;
  bool drawn_ = false;
};

}  // namespace zirvo::tools
