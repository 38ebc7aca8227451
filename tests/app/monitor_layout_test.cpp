// One show per monitor, with made-up desktops: side by side, negative origins,
// different sizes, mirrored and cloned outputs, monitors off the screen.
#include <gtest/gtest.h>

#include <vector>

#include "app/MonitorLayout.h"

namespace zirvo {
namespace {

std::vector<Rect> Layout(const Rect& virtualScreen, const std::vector<Rect>& monitors) {
  return LayOutShows(virtualScreen, monitors);
}

TEST(MonitorLayout, OneMonitorCoveringTheScreenGetsOneShowAtTheOrigin) {
  EXPECT_EQ(Layout({0, 0, 1920, 1080}, {{0, 0, 1920, 1080}}),
            (std::vector<Rect>{{0, 0, 1920, 1080}}));
}

TEST(MonitorLayout, MonitorsOfDifferentSizesSideBySideKeepTheirRectangles) {
  const std::vector<Rect> monitors = {{0, 0, 1920, 1080}, {1920, 0, 1280, 1024}};
  const Rect desktop = BoundingBox(monitors);
  EXPECT_EQ(desktop, (Rect{0, 0, 3200, 1080}));
  EXPECT_EQ(Layout(desktop, monitors), monitors);
}

TEST(MonitorLayout, NegativeOriginsAreShiftedOntoTheSurface) {
  // A monitor left of and below the primary one: the desktop's corner is at
  // (-1280, 0), and every show is placed relative to it.
  const std::vector<Rect> monitors = {{0, 0, 1920, 1080}, {-1280, 200, 1280, 1024}};
  const Rect desktop = BoundingBox(monitors);
  EXPECT_EQ(desktop, (Rect{-1280, 0, 3200, 1224}));
  EXPECT_EQ(Layout(desktop, monitors),
            (std::vector<Rect>{{1280, 0, 1920, 1080}, {0, 200, 1280, 1024}}));
  // Above the primary one too.
  const std::vector<Rect> stacked = {{0, 0, 800, 600}, {100, -768, 1024, 768}};
  EXPECT_EQ(Layout(BoundingBox(stacked), stacked),
            (std::vector<Rect>{{0, 768, 800, 600}, {100, 0, 1024, 768}}));
}

TEST(MonitorLayout, MirroredAndClonedMonitorsShareOneShow) {
  // Two outputs showing the same picture: the first keeps the show.
  EXPECT_EQ(Layout({0, 0, 1024, 768}, {{0, 0, 1024, 768}, {0, 0, 1024, 768}}),
            (std::vector<Rect>{{0, 0, 1024, 768}}));
  // A smaller clone inside a larger output, listed first: the larger one's
  // show covers it, whatever the order.
  EXPECT_EQ(Layout({0, 0, 1920, 1080}, {{0, 0, 640, 480}, {0, 0, 1920, 1080}}),
            (std::vector<Rect>{{0, 0, 1920, 1080}}));
  // Three heads where one spans the other two (a desktop-wide entry).
  EXPECT_EQ(Layout({0, 0, 1440, 600}, {{0, 0, 800, 600}, {800, 0, 640, 480}, {0, 0, 1440, 600}}),
            (std::vector<Rect>{{0, 0, 1440, 600}}));
}

TEST(MonitorLayout, PartlyOverlappingMonitorsKeepAShowEach) {
  EXPECT_EQ(Layout({0, 0, 1800, 1080}, {{0, 0, 1024, 768}, {800, 0, 1000, 1080}}),
            (std::vector<Rect>{{0, 0, 1024, 768}, {800, 0, 1000, 1080}}));
}

TEST(MonitorLayout, MonitorsAreClippedToTheVirtualScreen) {
  // The window covers only part of the desktop: a monitor half outside it is
  // cut, one wholly outside gets no show.
  EXPECT_EQ(Layout({0, 0, 1000, 700}, {{500, 100, 1000, 1000}, {2000, 0, 800, 600}}),
            (std::vector<Rect>{{500, 100, 500, 600}}));
}

TEST(MonitorLayout, WithoutUsableMonitorsOneShowCoversTheVirtualScreen) {
  EXPECT_EQ(Layout({-100, -50, 640, 480}, {}), (std::vector<Rect>{{0, 0, 640, 480}}));
  EXPECT_EQ(Layout({0, 0, 640, 480}, {{700, 0, 100, 100}, {0, 0, 0, 0}}),
            (std::vector<Rect>{{0, 0, 640, 480}}));
  EXPECT_TRUE(Layout({0, 0, 0, 480}, {{0, 0, 640, 480}}).empty());
}

TEST(MonitorLayout, BoundingBoxSkipsEmptyRectanglesAndSurvivesExtremes) {
  EXPECT_EQ(BoundingBox(std::vector<Rect>{}), Rect{});
  EXPECT_EQ(BoundingBox(std::vector<Rect>{{5, 5, 0, 10}, {-10, -20, 30, 40}}),
            (Rect{-10, -20, 30, 40}));
  const Rect far = Intersect({INT32_MAX - 10, 0, 100, 100}, {INT32_MAX - 20, 0, 15, 50});
  EXPECT_EQ(far, (Rect{INT32_MAX - 10, 0, 5, 50}));
}

}  // namespace
}  // namespace zirvo
