#include "platform/win32-saver/InputEnd.h"

namespace zirvo::scr {

bool InputEnd::PointerMoved(std::int32_t x, std::int32_t y) {
  if (!start_) {
    start_ = Point{x, y};
    return false;
  }
  const std::int64_t dx = std::int64_t{x} - start_->x;
  const std::int64_t dy = std::int64_t{y} - start_->y;
  // Squared only within reach: across a huge desktop the square would overflow.
  if (dx > kMoveTolerance || dx < -kMoveTolerance || dy > kMoveTolerance || dy < -kMoveTolerance)
    return true;
  return dx * dx + dy * dy > kMoveTolerance * kMoveTolerance;
}

bool InputEnd::Activation(bool active) {
  // A window may be told it is inactive before it was ever activated (while
  // it is being created): that is no user leaving the show.
  if (active) {
    wasActive_ = true;
    return false;
  }
  return wasActive_;
}

}  // namespace zirvo::scr
