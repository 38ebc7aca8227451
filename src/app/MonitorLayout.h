// Where the shows go on a desktop of several monitors: one show per monitor, in
// that monitor's rectangle. Monitors come in desktop coordinates (an origin may
// be negative, sizes may differ); the shows' rectangles come out relative to
// the top-left corner of the surface that covers the virtual screen, ready to
// be drawn on it.
#pragma once

#include <span>
#include <vector>

#include "core/Rect.h"

namespace zirvo {

// One rectangle per show, in the order of `monitors`, relative to
// `virtualScreen`'s top-left corner:
// - each monitor is clipped to the virtual screen; one that falls outside it
//   gets no show;
// - a monitor that lies wholly inside another one (a mirrored or cloned output)
//   gets no show of its own: the larger one's show covers it; of two equal
//   ones the first is kept;
// - with no monitor left, one show covers the whole virtual screen.
// Partly overlapping monitors keep a show each.
std::vector<Rect> LayOutShows(const Rect& virtualScreen, std::span<const Rect> monitors);

}  // namespace zirvo
