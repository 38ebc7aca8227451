// The pixel trace, the tools' contract for comparing shows: one line
// "X Y rrggbb" per pixel set, in the order the show sets them, coordinates
// physical and unclipped, colour in hex red first. zirvo-render writes it to a
// file; the web page returns it to the test that asks.
#pragma once

#include <cstdint>
#include <string>

#include "core/Colour.h"

namespace zirvo::tools {

// Appends the line for one pixel, '\n' included.
void AppendTraceLine(std::string& out, std::int32_t x, std::int32_t y, COLORREF colour);

}  // namespace zirvo::tools
