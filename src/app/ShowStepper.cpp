#include "app/ShowStepper.h"

namespace zirvo {

bool ShowStepper::Step(PixelSink& pixels) {
  if (!inPass_) {
    clock_.Delay();
    if (!engine_.BeginPass())
      return PassEnded();
    inPass_ = true;
    return false;
  }
  engine_.TakeTurn(pixels);
  clock_.Delay();
  if (engine_.PassUnderWay())
    return false;
  inPass_ = false;
  return PassEnded();
}

bool ShowStepper::PassEnded() {
  return engine_.ShowFinished() != 0;
}

}  // namespace zirvo
