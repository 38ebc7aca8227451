// How a turn of the drawing pass is paced: the show's busy-wait, a simulated
// clock's step, a frame loop's budget.
#pragma once

namespace zirvo {

class Delayer {
 public:
  virtual ~Delayer() = default;
  virtual void Delay() = 0;
};

}  // namespace zirvo
