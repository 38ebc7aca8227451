#include "app/SceneRotation.h"

#include <cassert>
#include <numeric>
#include <utility>

namespace zirvo {

namespace {

// A draw from 0 to (count - 1); count is at most a few thousand scenes, so
// two 15-bit draws make the bias negligible.
std::size_t Below(Random& random, std::size_t count) {
  const auto wide =
      (static_cast<std::size_t>(random.Next()) << 15) | static_cast<std::size_t>(random.Next());
  return wide % count;
}

}  // namespace

SceneRotation::SceneRotation(std::vector<std::string> scenes, std::uint32_t seed)
    : scenes_(std::move(scenes)), order_(scenes_.size()) {
  assert(!scenes_.empty());
  random_.Seed(seed);
  std::iota(order_.begin(), order_.end(), std::size_t{0});
  Shuffle();
}

const std::string& SceneRotation::Next() {
  if (++at_ < order_.size())
    return Current();
  const std::size_t last = order_.back();
  Shuffle();
  // A new round must not begin with the scene that ended the last one.
  if (order_.size() > 1 && order_.front() == last)
    std::swap(order_.front(), order_[1 + Below(random_, order_.size() - 1)]);
  at_ = 0;
  return Current();
}

void SceneRotation::Shuffle() {
  for (std::size_t i = order_.size(); i > 1; --i)
    std::swap(order_[i - 1], order_[Below(random_, i)]);
}

}  // namespace zirvo
