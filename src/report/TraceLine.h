// The pixel trace, the tools' contract for comparing shows: one line
// "X Y rrggbb" per pixel set, in the order the show sets them, coordinates
// physical and unclipped, colour in hex red first. zirvo-render writes it to a
// file; the web page returns it to the test that asks.
#pragma once

#include <cstdint>
#include <string>

#include "core/Colour.h"

namespace zirvo {

// The Delay traces are compared at unless told otherwise: zirvo-render's
// --delay-us default, and the web page's traces.
inline constexpr std::uint64_t kTraceDelayUs = 100;

// Appends the line for one pixel, '\n' included.
void AppendTraceLine(std::string& out, std::int32_t x, std::int32_t y, COLORREF colour);

}  // namespace zirvo
