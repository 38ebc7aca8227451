// The full-screen show's rules that do not need Windows: what input ends it,
// and where its shows go on desktops as Windows describes them, monitors as
// the edges EnumDisplayMonitors reports (Wine reports a single monitor, so the
// layouts here are made up).
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

#include "app/MonitorLayout.h"
#include "platform/win32-saver/InputEnd.h"

namespace zirvo::scr {
namespace {

TEST(InputEnd, SmallMovesLeaveTheShowRunningLargerOnesEndIt) {
  InputEnd input;
  input.StartAt(500, 400);
  EXPECT_FALSE(input.PointerMoved(500, 400));  // the move Windows reports as the window shows
  EXPECT_FALSE(input.PointerMoved(503, 400));
  EXPECT_FALSE(input.PointerMoved(492, 400));  // 8 pixels: not more than 8
  EXPECT_FALSE(input.PointerMoved(500, 408));
  EXPECT_FALSE(input.PointerMoved(505, 406));  // 7.8 pixels away
  EXPECT_TRUE(input.PointerMoved(506, 406));   // 8.5 pixels away
  EXPECT_TRUE(input.PointerMoved(600, 400));
  EXPECT_TRUE(input.PointerMoved(491, 400));
}

TEST(InputEnd, DistanceIsFromTheStartNotFromTheLastMove) {
  InputEnd input;
  input.StartAt(0, 0);
  for (int x = 1; x <= 8; ++x)
    EXPECT_FALSE(input.PointerMoved(x, 0)) << x;
  EXPECT_TRUE(input.PointerMoved(9, 0));
}

TEST(InputEnd, WithoutAStartTheFirstMoveIsTheStart) {
  InputEnd input;
  EXPECT_FALSE(input.PointerMoved(-1500, 300));  // a monitor left of the primary one
  EXPECT_FALSE(input.PointerMoved(-1497, 300));
  EXPECT_TRUE(input.PointerMoved(-1400, 300));
}

TEST(InputEnd, FarCornersOfAHugeDesktopDoNotOverflow) {
  InputEnd input;
  input.StartAt(INT32_MIN, INT32_MIN);
  EXPECT_TRUE(input.PointerMoved(INT32_MAX, INT32_MAX));
}

TEST(InputEnd, LosingActivationEndsTheShowOnlyOnceItHadIt) {
  InputEnd input;
  EXPECT_FALSE(input.Activation(false));  // told while the window is being made
  EXPECT_FALSE(input.Activation(true));
  EXPECT_FALSE(input.Activation(true));
  EXPECT_TRUE(input.Activation(false));
}

// Monitors as EnumDisplayMonitors gives them: left, top, right, bottom.
std::vector<Rect> FromEdges(const std::vector<std::array<std::int32_t, 4>>& edges) {
  std::vector<Rect> rects;
  for (const auto& e : edges)
    rects.push_back(Rect::FromEdges(e[0], e[1], e[2], e[3]));
  return rects;
}

TEST(WindowsMonitors, MonitorsAsWindowsReportsThemGetAShowEach) {
  // The primary monitor at (0, 0), a smaller one to its left and higher up, a
  // portrait one to its right: the virtual screen starts at (-1280, -200).
  const std::vector<Rect> monitors =
      FromEdges({{0, 0, 1920, 1080}, {-1280, -200, 0, 824}, {1920, -400, 3000, 1520}});
  const Rect virtualScreen{-1280, -400, 4280, 1920};
  EXPECT_EQ(
      LayOutShows(virtualScreen, monitors),
      (std::vector<Rect>{{1280, 400, 1920, 1080}, {0, 200, 1280, 1024}, {3200, 0, 1080, 1920}}));
}

TEST(WindowsMonitors, GapsOfTheVirtualScreenGetNoShow) {
  // Two monitors meeting at one corner only: the virtual screen's rectangle
  // holds two empty quarters, which stay black.
  const std::vector<Rect> monitors = FromEdges({{0, 0, 800, 600}, {800, 600, 1600, 1200}});
  EXPECT_EQ(LayOutShows(Rect{0, 0, 1600, 1200}, monitors),
            (std::vector<Rect>{{0, 0, 800, 600}, {800, 600, 800, 600}}));
}

TEST(WindowsMonitors, OneMonitorOrNoneCoversTheWholeWindow) {
  EXPECT_EQ(LayOutShows(Rect{0, 0, 1024, 768}, FromEdges({{0, 0, 1024, 768}})),
            (std::vector<Rect>{{0, 0, 1024, 768}}));
  EXPECT_EQ(LayOutShows(Rect{0, 0, 1024, 768}, std::vector<Rect>{}),
            (std::vector<Rect>{{0, 0, 1024, 768}}));
}

TEST(WindowsMonitors, EdgesTheWrongWayRoundAreEmpty) {
  EXPECT_TRUE(Rect::FromEdges(100, 0, 50, 10).Empty());
  EXPECT_EQ(Rect::FromEdges(INT32_MIN, 0, INT32_MAX, 1).width, INT32_MAX);
  EXPECT_EQ(LayOutShows(Rect{0, 0, 640, 480}, FromEdges({{640, 0, 0, 480}})),
            (std::vector<Rect>{{0, 0, 640, 480}}));
}

}  // namespace
}  // namespace zirvo::scr
