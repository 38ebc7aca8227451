// The screen a window presents: clipping, the colour order the window takes,
// and that each change is handed over, in the rows it touched only, exactly
// once, even while another thread draws.
#include "image/TrackedScreen.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "support/ScreenChanges.h"

namespace zirvo {
namespace {

using testing::CollectChanges;

std::vector<std::int32_t> RowsOf(const std::vector<RowRun>& runs) {
  std::vector<std::int32_t> rows;
  for (const RowRun& run : runs) {
    for (std::int32_t i = 0; i < run.count; ++i)
      rows.push_back(run.first + i);
  }
  return rows;
}

TEST(TrackedScreenTest, ClipsAndCountsTheShowsPixelsOnly) {
  TrackedScreen screen(8, 4);
  screen.SetPixel(-1, 0, 0xFFFFFF);
  screen.SetPixel(8, 0, 0xFFFFFF);
  screen.SetPixel(0, 4, 0xFFFFFF);
  screen.SetPixel(7, 3, 0x0000FF);
  screen.Store(0, 0, 0x80FF80);
  screen.Prefetch(-1, 9);  // off the screen: a hint that touches nothing
  EXPECT_EQ(screen.Pixels().PixelsSet(), 4u);
  EXPECT_EQ(screen.Pixels().CountNotBlack(), 2u);
  EXPECT_EQ(screen.Pixels().GetPixel(7, 3), 0x0000FFu);
}

TEST(TrackedScreenTest, AScreenThatCannotBeHadIsNullNotAnException) {
  // 2^41 cells: more than any machine here can give.
  EXPECT_EQ(TrackedScreen::Create(1 << 21, 1 << 20), nullptr);
  const auto screen = TrackedScreen::Create(64, 48);
  ASSERT_NE(screen, nullptr);
  EXPECT_EQ(screen->Width(), 64);
}

TEST(TrackedScreenTest, HandsOverChangedRowsOnlyAndOnce) {
  constexpr std::uint32_t kUntouched = 0x12345678;
  TrackedScreen screen(4, 8);
  std::vector<std::uint32_t> argb(32, kUntouched);
  std::vector<RowRun> runs;
  ASSERT_TRUE(CollectChanges(screen, argb.data(), runs));  // all rows at first
  EXPECT_EQ(RowsOf(runs), (std::vector<std::int32_t>{0, 1, 2, 3, 4, 5, 6, 7}));
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(argb[31], 0xFF000000u);
  EXPECT_FALSE(CollectChanges(screen, argb.data(), runs));
  EXPECT_TRUE(runs.empty());

  argb.assign(argb.size(), kUntouched);
  screen.SetPixel(1, 2, 0x00FF0000);  // COLORREF blue
  screen.SetPixel(3, 3, 0x000000FF);  // COLORREF red
  screen.SetPixel(0, 4, 0x0000FF00);
  screen.SetPixel(2, 4, 0x0000FF00);  // a row changed twice is listed once
  screen.Store(0, 7, 0x80FF80);       // the window's own pixels count too
  screen.SetPixel(9, 1, 0x00FFFFFF);  // clipped: row 1 stays clean
  ASSERT_TRUE(CollectChanges(screen, argb.data(), runs));
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0].first, 2);
  EXPECT_EQ(runs[0].count, 3);
  EXPECT_EQ(runs[1].first, 7);
  EXPECT_EQ(runs[1].count, 1);
  EXPECT_EQ(argb[2 * 4 + 1], 0xFF0000FFu);
  EXPECT_EQ(argb[3 * 4 + 3], 0xFFFF0000u);
  EXPECT_EQ(argb[4 * 4 + 2], 0xFF00FF00u);
  EXPECT_EQ(argb[7 * 4 + 0], 0xFF80FF80u);
  for (std::int32_t row : {0, 1, 5, 6}) {
    for (std::int32_t x = 0; x < 4; ++x)
      EXPECT_EQ(argb[static_cast<std::size_t>(row * 4 + x)], kUntouched) << row;
  }
  EXPECT_FALSE(CollectChanges(screen, argb.data(), runs));

  screen.Fill(kBlack);
  ASSERT_TRUE(CollectChanges(screen, argb.data(), runs));
  EXPECT_EQ(RowsOf(runs), (std::vector<std::int32_t>{0, 1, 2, 3, 4, 5, 6, 7}));
  EXPECT_EQ(argb[2 * 4 + 1], 0xFF000000u);
}

// Rows longer than the conversion's blocks and not a multiple of them, written
// at a pitch wider than the row: each pixel exact, nothing past the row touched.
TEST(TrackedScreenTest, ConvertsEveryColourExactlyAtAnyPitch) {
  constexpr std::int32_t kWidth = 131;
  constexpr std::int32_t kHeight = 3;
  constexpr std::size_t kPitch = 140;
  constexpr std::uint32_t kUntouched = 0xDEADBEEF;
  TrackedScreen screen(kWidth, kHeight);
  auto colourAt = [](std::int32_t x, std::int32_t y) {
    const std::uint32_t i = static_cast<std::uint32_t>(y * kWidth + x);
    const std::uint32_t red = (i * 7u) & 0xFF;
    const std::uint32_t green = (i * 13u + 5u) & 0xFF;
    const std::uint32_t blue = 255u - (i & 0xFF);
    return (blue << 16) | (green << 8) | red;
  };
  for (std::int32_t y = 0; y < kHeight; ++y) {
    for (std::int32_t x = 0; x < kWidth; ++x)
      screen.SetPixel(x, y, colourAt(x, y));
  }
  std::vector<RowRun> runs;
  ASSERT_TRUE(screen.TakeChangedRows(runs));
  ASSERT_EQ(runs.size(), 1u);
  std::vector<std::uint32_t> argb(kPitch * kHeight, kUntouched);
  screen.ConvertRows(0, kHeight, argb.data(), kPitch);
  for (std::int32_t y = 0; y < kHeight; ++y) {
    for (std::int32_t x = 0; x < kWidth; ++x) {
      const COLORREF c = colourAt(x, y);
      const std::uint32_t expected = 0xFF000000u | (std::uint32_t{RedOf(c)} << 16) |
                                     (std::uint32_t{GreenOf(c)} << 8) | BlueOf(c);
      ASSERT_EQ(argb[static_cast<std::size_t>(y) * kPitch + static_cast<std::size_t>(x)], expected)
          << x << "," << y;
    }
    for (std::size_t x = kWidth; x < kPitch; ++x)
      ASSERT_EQ(argb[static_cast<std::size_t>(y) * kPitch + x], kUntouched);
  }

  // Part of the rows (a band the presenter clipped), past the blocks of 64
  // and not on their boundaries: columns 70..129 of rows 1..2, from the start
  // of the buffer.
  std::vector<std::uint32_t> part(kPitch * 2, kUntouched);
  screen.ConvertRows(1, 2, 70, 130, part.data(), kPitch);
  for (std::int32_t i = 0; i < 2; ++i) {
    for (std::int32_t j = 0; j < 60; ++j) {
      const COLORREF c = colourAt(70 + j, 1 + i);
      ASSERT_EQ(part[static_cast<std::size_t>(i) * kPitch + static_cast<std::size_t>(j)],
                TrackedScreen::ToArgb(c));
    }
    ASSERT_EQ(part[static_cast<std::size_t>(i) * kPitch + 60], kUntouched);
  }
}

// One thread draws while another collects as a window does: within a
// collection no row is listed twice, and once drawing stops and the last
// changes are collected, the window's copy is exactly the screen (a change
// whose flag was taken down before its row was read would be missing).
TEST(TrackedScreenTest, LosesNoChangeMadeWhileCollecting) {
  constexpr std::int32_t kWidth = 97;
  constexpr std::int32_t kHeight = 61;
  TrackedScreen screen(kWidth, kHeight);
  std::vector<std::uint32_t> shown(static_cast<std::size_t>(kWidth) * kHeight, 0);
  std::atomic<bool> drawing{true};
  std::atomic<std::uint64_t> collections{0};
  std::thread drawer([&] {
    std::uint32_t state = 1;
    // Drawing goes on until some collections have happened meanwhile: on a busy
    // machine the drawer could otherwise finish before the collector runs.
    for (std::uint32_t colour = 1; colour <= 400000 || collections.load() < 3; ++colour) {
      state = state * 1664525u + 1013904223u;
      const auto x = static_cast<std::int32_t>((state >> 8) % kWidth);
      const auto y = static_cast<std::int32_t>((state >> 20) % kHeight);
      screen.Prefetch(x, y);
      screen.SetPixel(x, y, colour & 0xFFFFFF);
    }
    drawing.store(false);
  });
  std::vector<RowRun> runs;
  auto collect = [&] {
    if (!CollectChanges(screen, shown.data(), runs))
      return;
    ++collections;
    const std::vector<std::int32_t> rows = RowsOf(runs);
    for (std::size_t i = 0; i < rows.size(); ++i) {
      ASSERT_GE(rows[i], 0);
      ASSERT_LT(rows[i], kHeight);
      if (i > 0) {
        ASSERT_LT(rows[i - 1], rows[i]);  // ascending, so none twice
      }
    }
    for (std::size_t i = 1; i < runs.size(); ++i) {  // runs are maximal
      ASSERT_LT(runs[i - 1].first + runs[i - 1].count, runs[i].first);
    }
  };
  while (drawing.load())
    collect();
  drawer.join();
  collect();
  EXPECT_GT(collections.load(), 1u);
  for (std::int32_t y = 0; y < kHeight; ++y) {
    for (std::int32_t x = 0; x < kWidth; ++x) {
      ASSERT_EQ(shown[static_cast<std::size_t>(y * kWidth + x)],
                TrackedScreen::ToArgb(screen.Pixels().GetPixel(x, y)))
          << x << "," << y;
    }
  }
  EXPECT_FALSE(CollectChanges(screen, shown.data(), runs));
}

}  // namespace
}  // namespace zirvo
