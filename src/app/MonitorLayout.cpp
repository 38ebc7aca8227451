#include "app/MonitorLayout.h"

#include <algorithm>

namespace zirvo {

std::vector<Rect> LayOutShows(const Rect& virtualScreen, std::span<const Rect> monitors) {
  std::vector<Rect> clipped;
  clipped.reserve(monitors.size());
  for (const Rect& monitor : monitors)
    clipped.push_back(Intersect(monitor, virtualScreen));

  std::vector<Rect> shows;
  for (std::size_t i = 0; i < clipped.size(); ++i) {
    const Rect& mine = clipped[i];
    if (mine.Empty())
      continue;
    bool covered = false;
    for (std::size_t j = 0; j < clipped.size() && !covered; ++j) {
      if (j == i || !clipped[j].Contains(mine))
        continue;
      // Of two equal monitors the earlier one keeps the show.
      covered = !(clipped[j] == mine) || j < i;
    }
    if (!covered) {
      shows.push_back(
          Rect{mine.x - virtualScreen.x, mine.y - virtualScreen.y, mine.width, mine.height});
    }
  }
  if (shows.empty() && !virtualScreen.Empty())
    shows.push_back(Rect{0, 0, virtualScreen.width, virtualScreen.height});
  return shows;
}

}  // namespace zirvo
