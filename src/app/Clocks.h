// The real clocks the shell and the frame-paced modes read: clock()'s
// milliseconds for the calibration, and nanoseconds for the frame pacer and
// its deadlines. Tests hand in clocks of their own.
#pragma once

#include <chrono>
#include <cstdint>

namespace zirvo {

// clock(): elapsed milliseconds since the process started.
class MillisecondClock {
 public:
  virtual ~MillisecondClock() = default;
  virtual std::uint32_t ElapsedMs() = 0;
};

// Real time in nanoseconds since some fixed start; never goes back.
class NanosecondClock {
 public:
  virtual ~NanosecondClock() = default;
  virtual std::uint64_t NowNs() = 0;
};

// Both, from the system's steady clock, counted from the clock's creation.
class SteadyClock final : public MillisecondClock, public NanosecondClock {
 public:
  std::uint32_t ElapsedMs() override {
    return static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Since()).count());
  }
  std::uint64_t NowNs() override {
    return static_cast<std::uint64_t>(
        std::chrono::duration_cast<std::chrono::nanoseconds>(Since()).count());
  }

 private:
  std::chrono::steady_clock::duration Since() const {
    return std::chrono::steady_clock::now() - start_;
  }

  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

}  // namespace zirvo
