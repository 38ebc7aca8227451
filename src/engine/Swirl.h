// A live swirl's slot, and its motion: the next point of its orbit.
#pragma once

#include <cstdint>

#include "core/Colour.h"
#include "core/ScreenPoint.h"
#include "scene/KindTable.h"

namespace zirvo {

// One slot of the engine's table. Links are slot numbers and store node
// numbers, -1 for none.
struct Swirl {
  // What the next point depends on, besides the kind: kept together, so that
  // a point computed ahead (MotionAhead) checks them as one block of bytes.
  std::int32_t spec = -1;        // index of the swirl's kind; negative: a free slot
  std::uint32_t pointsLeft = 0;  // points still to compute; starts at the kind's nv
  std::int32_t startX = 0;       // start point, virtual pixels
  std::int32_t startY = 0;
  std::int32_t spanX = 0;  // target point minus start point
  std::int32_t spanY = 0;
  float tilt = 0.0f;   // tilt angle drawn at launch, radians
  float angle = 0.0f;  // orbit angle, drawn at launch and advanced each step

  std::uint32_t trailRoom = 0;  // points the trail may still take before it is full
  std::int32_t waitTicks = 0;   // turns to wait before the next step
  std::int32_t prev = -1;       // neighbours in the active list
  std::int32_t next = -1;
  COLORREF colour = kBlack;
  std::int32_t oldest = -1;  // the trail's oldest and newest store nodes
  std::int32_t newest = -1;

  int IsFreeSlot() const { return spec < 0 ? 1 : 0; }
};

// The motion alone: sets x and y of `point` to the swirl's next point in
// virtual coordinates (x = -1 when a coordinate does not fit 32 bits), and
// `angle` to its orbit angle after the step. Changes nothing else. (An out
// parameter: a point returned by value goes through memory on its way back,
// written as two halves and read as one word, and that read must wait.)
void MotionPoint(const SwirlSpec& kind, const Swirl& swirl, float& angle, ScreenPoint& point);

// The motion alone: advances the swirl's orbit angle and returns its next point.
// Counts nothing down and stores nothing; StepSwirl does that around it.
inline ScreenPoint MotionStep(const SwirlSpec& kind, Swirl& swirl) {
  float angle = 0.0f;
  ScreenPoint point;
  MotionPoint(kind, swirl, angle, point);
  swirl.angle = angle;
  return point;
}

}  // namespace zirvo
