// The kinds of swirl as the loader left them, in words a scene writer reads.
#pragma once

#include <string>

#include "scene/KindTable.h"

namespace zirvo::tools {

// "white", "dark cyan", ... for a palette colour; "#rrggbb" otherwise.
std::string ColourName(COLORREF colour);

// "white", "random per swirl" or "random per point".
std::string ColourDescription(const SwirlSpec& kind);

// "(320, 240)", "(random, 240)", "random".
std::string StartPointDescription(const SwirlSpec& kind);
std::string TargetDescription(const SwirlSpec& kind);

// How many points make one full turn for an angle step (TwoPi / step): the value
// the file gave for nw or nn; "infinite step" when the step is not finite.
std::string PointsPerTurn(float step);

// A float the shortest way that reads back as the same float ("0.0005", "-2e-05").
std::string ShortReal(float value);
std::string ShortReal(double value);

}  // namespace zirvo::tools
