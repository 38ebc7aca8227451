// When input ends the full-screen show: any key or mouse button does at once
// (the window procedure sees to those); a pointer move only once the pointer is
// more than kMoveTolerance pixels from where it was when the show started (a
// mouse on a shaking desk, or the move Windows reports as the window appears,
// must not end it); and losing activation once the show had it.
#pragma once

#include <cstdint>
#include <optional>

namespace zirvo::scr {

class InputEnd {
 public:
  static constexpr std::int64_t kMoveTolerance = 8;

  // Where the pointer was as the show started, in screen coordinates. Without
  // it, the first move reported is taken as the start.
  void StartAt(std::int32_t x, std::int32_t y) { start_ = Point{x, y}; }
  // The pointer is at (x, y), in screen coordinates: true when that ends the show.
  bool PointerMoved(std::int32_t x, std::int32_t y);
  // The show's window became active or inactive: true when that ends the show.
  bool Activation(bool active);

 private:
  struct Point {
    std::int32_t x;
    std::int32_t y;
  };
  std::optional<Point> start_;
  bool wasActive_ = false;
};

}  // namespace zirvo::scr
