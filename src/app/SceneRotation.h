// The order in which a saver shows its scenes: rounds in which every scene
// comes once, each round shuffled anew, and never the same scene twice in a
// row when there are two or more.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "core/Random.h"

namespace zirvo {

class SceneRotation {
 public:
  // REQUIRES: `scenes` is not empty.
  SceneRotation(std::vector<std::string> scenes, std::uint32_t seed);

  // The scene on show: the first of the first round until Next is called.
  const std::string& Current() const { return scenes_[order_[at_]]; }
  // Moves on to the next scene and returns it.
  const std::string& Next();
  std::size_t Count() const { return scenes_.size(); }

 private:
  void Shuffle();

  std::vector<std::string> scenes_;
  std::vector<std::size_t> order_;
  std::size_t at_ = 0;
  Random random_;
};

}  // namespace zirvo
