// The floor of a swirl turn: the motion of Engine::StepSwirl (MotionStep, the
// very same arithmetic), but no store, no cursor, no
// colour draw and no pixel. A drawing pass can never be faster than this; the
// benchmarks measure how close the stores come to it.
#pragma once

#include "core/ScreenPoint.h"
#include "engine/Engine.h"
#include "scene/KindTable.h"

namespace zirvo::bench {

// The next point of `swirl` in virtual coordinates (x = -1 when it does not fit
// 32 bits). Restarts the swirl's count when it has drawn all its points, so a
// floor run can go on for as long as it is timed.
ScreenPoint FloorStep(const SwirlSpec& kind, Swirl& swirl);

}  // namespace zirvo::bench
