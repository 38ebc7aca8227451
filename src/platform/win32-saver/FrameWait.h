// The wait of zirvo.scr's window thread between frames: until the next frame
// is due or a message arrives, whichever comes first. Where Windows has a
// high-resolution waitable timer (Windows 10 1803 and later) the wait ends
// within a fraction of a millisecond of the time asked for; elsewhere it is a
// timeout in whole milliseconds, which the default timer rounds to its
// 15.6 ms ticks, so that 60 Hz frames come unevenly.
#pragma once

#include <cstdint>

#include "platform/win32/WinApi.h"

namespace zirvo::scr {

class FrameWait {
 public:
  // Asks Windows for a high-resolution timer; without one, waits time out.
  FrameWait();
  ~FrameWait();
  FrameWait(const FrameWait&) = delete;
  FrameWait& operator=(const FrameWait&) = delete;

  // Returns once `waitUs` microseconds (a day at most) have passed, or once
  // input or a message is in the thread's queue (MWMO_INPUTAVAILABLE: also one
  // that was there before the call).
  void Wait(std::uint64_t waitUs);
  // True when the waits are on the high-resolution timer.
  bool HighResolution() const { return timer_ != nullptr; }

 private:
  void WaitWithTimeout(std::uint64_t waitUs);

  HANDLE timer_ = nullptr;
};

}  // namespace zirvo::scr
