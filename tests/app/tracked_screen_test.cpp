// The screen a window presents: clipping, the colour order the window takes,
// and that each change is handed over exactly once.
#include "platform/headless/TrackedScreen.h"

#include <gtest/gtest.h>

#include <vector>

namespace zirvo {
namespace {

TEST(TrackedScreenTest, ClipsAndCountsTheShowsPixelsOnly) {
  TrackedScreen screen(8, 4);
  screen.SetPixel(-1, 0, 0xFFFFFF);
  screen.SetPixel(8, 0, 0xFFFFFF);
  screen.SetPixel(0, 4, 0xFFFFFF);
  screen.SetPixel(7, 3, 0x0000FF);
  screen.Store(0, 0, 0x80FF80);
  EXPECT_EQ(screen.Pixels().PixelsSet(), 4u);
  EXPECT_EQ(screen.Pixels().CountNotBlack(), 2u);
  EXPECT_EQ(screen.Pixels().GetPixel(7, 3), 0x0000FFu);
}

TEST(TrackedScreenTest, HandsOverChangedRowsOnceInArgb) {
  TrackedScreen screen(4, 6);
  std::vector<std::uint32_t> argb(24, 0);
  std::int32_t first = -1;
  std::int32_t last = -1;
  ASSERT_TRUE(screen.CollectChanges(argb.data(), first, last));  // all rows at first
  EXPECT_EQ(first, 0);
  EXPECT_EQ(last, 5);
  EXPECT_EQ(argb[0], 0xFF000000u);
  EXPECT_FALSE(screen.CollectChanges(argb.data(), first, last));

  screen.SetPixel(1, 2, 0x00FF0000);  // COLORREF blue
  screen.SetPixel(3, 4, 0x000000FF);  // COLORREF red
  screen.SetPixel(9, 1, 0x00FFFFFF);  // clipped: row 1 stays clean
  ASSERT_TRUE(screen.CollectChanges(argb.data(), first, last));
  EXPECT_EQ(first, 2);
  EXPECT_EQ(last, 4);
  EXPECT_EQ(argb[2 * 4 + 1], 0xFF0000FFu);
  EXPECT_EQ(argb[4 * 4 + 3], 0xFFFF0000u);
  EXPECT_FALSE(screen.CollectChanges(argb.data(), first, last));

  screen.Fill(kBlack);
  ASSERT_TRUE(screen.CollectChanges(argb.data(), first, last));
  EXPECT_EQ(first, 0);
  EXPECT_EQ(last, 5);
  EXPECT_EQ(argb[2 * 4 + 1], 0xFF000000u);
}

}  // namespace
}  // namespace zirvo
