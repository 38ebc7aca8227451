// What a window does at each frame with a TrackedScreen (SdlPlatform's present
// does it into the window's surface): takes the changed rows and converts each
// into a whole screen's buffer, row y at argb + y * Width(). For the tests and
// the benchmarks.
#pragma once

#include <cstdint>
#include <vector>

#include "image/TrackedScreen.h"

namespace zirvo::testing {

inline bool CollectChanges(TrackedScreen& screen, std::uint32_t* argb, std::vector<RowRun>& runs) {
  if (!screen.TakeChangedRows(runs))
    return false;
  const std::size_t width = static_cast<std::size_t>(screen.Width());
  for (const RowRun& run : runs)
    screen.ConvertRows(run.first, run.count, argb + static_cast<std::size_t>(run.first) * width,
                       width);
  return true;
}

}  // namespace zirvo::testing
