#include "core/Choose.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace zirvo {
namespace {

// Every bit of either value must come through: the choice is made with masks.
TEST(Choose, GivesEitherValueWholeForEveryIntegerWidth) {
  constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
  for (std::int32_t a : {-1, 0, 1, kMin, std::numeric_limits<std::int32_t>::max()}) {
    for (std::int32_t b : {-1, 0, 7, kMin}) {
      EXPECT_EQ(Choose(true, a, b), a);
      EXPECT_EQ(Choose(false, a, b), b);
    }
  }
  EXPECT_EQ(Choose(true, 0xFFFFFFFFu, 3u), 0xFFFFFFFFu);
  EXPECT_EQ(Choose(false, 0xFFFFFFFFu, 3u), 3u);
  constexpr std::int64_t kFar = std::int64_t{1} << 40;
  EXPECT_EQ(Choose(true, -kFar, kFar), -kFar);
  EXPECT_EQ(Choose(false, -kFar, kFar), kFar);
}

TEST(Choose, GivesEitherPointer) {
  int cells[2] = {0, 0};
  *Choose(true, &cells[0], &cells[1]) = 5;
  *Choose(false, &cells[0], &cells[1]) = 9;
  EXPECT_EQ(cells[0], 5);
  EXPECT_EQ(cells[1], 9);
}

}  // namespace
}  // namespace zirvo
