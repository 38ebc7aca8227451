// The show's one random generator: a 32-bit linear congruential generator whose
// draws are 0..32767. Every random scale in the show divides by 32767, so this
// exact range (and sequence) is part of what a scene looks like.
#pragma once

#include <cstdint>

namespace zirvo {

class Random {
 public:
  static constexpr int kMax = 32767;

  void Seed(std::uint32_t seed) { state_ = seed; }
  std::uint32_t State() const { return state_; }

  int Next() {
    state_ = state_ * 214013u + 2531011u;
    return static_cast<int>((state_ >> 16) & 0x7FFF);
  }

 private:
  std::uint32_t state_ = 1;
};

}  // namespace zirvo
