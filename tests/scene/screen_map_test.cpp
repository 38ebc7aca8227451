#include "scene/ScreenMap.h"

#include <gtest/gtest.h>

#include <limits>

namespace zirvo {
namespace {

constexpr ScreenSize kScreen{1024, 768};

ScreenMap MapFor(std::int32_t w, std::int32_t h, char scale) {
  Settings s;
  s.VirtWidth = w;
  s.VirtHeight = h;
  s.Scaling = scale == 'n' ? 0 : 1;
  s.UniformScale = scale == 'u' ? 1 : 0;
  return ComputeScreenMap(s, kScreen);
}

std::pair<std::int32_t, std::int32_t> Mapped(const ScreenMap& map, std::int32_t x, std::int32_t y) {
  ScreenPoint p{x, y, 0x123456};
  map.MapToScreen(p);
  EXPECT_EQ(p.colour, 0x123456u);
  return {p.x, p.y};
}

using XY = std::pair<std::int32_t, std::int32_t>;

TEST(ScreenMap, IndependentFactorsMapCornerToCorner) {
  const ScreenMap m = MapFor(640, 480, 'y');
  EXPECT_DOUBLE_EQ(m.ScaleX, 1023.0 / 639.0);
  EXPECT_DOUBLE_EQ(m.ScaleY, 767.0 / 479.0);
  EXPECT_EQ(m.OffsetX, 0);
  EXPECT_EQ(m.OffsetY, 0);
  EXPECT_EQ(Mapped(m, 0, 0), XY(0, 0));
  EXPECT_EQ(Mapped(m, 639, 479), XY(1023, 767));
  EXPECT_EQ(Mapped(m, 320, 240), XY(512, 384));

  const ScreenMap wide = MapFor(800, 400, 'y');
  EXPECT_EQ(wide.OffsetY, 0);
  EXPECT_EQ(Mapped(wide, 799, 399), XY(1023, 767));
}

TEST(ScreenMap, UniformScaleKeepsProportionsAndCentres) {
  const ScreenMap m = MapFor(640, 480, 'u');
  EXPECT_EQ(m.ScaleX, m.ScaleY);
  EXPECT_EQ(Mapped(m, 639, 479), XY(1023, 766));

  const ScreenMap wide = MapFor(800, 400, 'u');
  EXPECT_DOUBLE_EQ(wide.ScaleY, 1023.0 / 799.0);
  EXPECT_EQ(wide.OffsetX, 0);
  EXPECT_EQ(wide.OffsetY, 127);
  EXPECT_EQ(Mapped(wide, 0, 0), XY(0, 127));
  EXPECT_EQ(Mapped(wide, 799, 399), XY(1023, 637));
}

TEST(ScreenMap, WithoutScalingTheVirtualScreenIsCentred) {
  const ScreenMap small = MapFor(640, 480, 'n');
  EXPECT_EQ(Mapped(small, 0, 0), XY(192, 144));
  const ScreenMap big = MapFor(1280, 1024, 'n');
  EXPECT_EQ(big.OffsetX, -128);
  EXPECT_EQ(big.OffsetY, -128);
  EXPECT_EQ(Mapped(big, 0, 0), XY(-128, -128));
  EXPECT_EQ(MapFor(1281, 768, 'n').OffsetX, -128);  // -257 / 2 truncates toward zero
  const ScreenMap same = MapFor(1024, 768, 'n');
  EXPECT_EQ(Mapped(same, 17, 33), XY(17, 33));
}

TEST(ScreenMap, NegativeCoordinatesTruncateTowardZeroBeforeTheOffset) {
  const ScreenMap m = MapFor(800, 400, 'u');
  EXPECT_EQ(Mapped(m, -1, -1), XY(-1, 126));  // -1.28 -> -1, then + offsets
  EXPECT_EQ(MapFor(320, 200, 'y').OffsetX, -1);
}

TEST(ScreenMap, ResultsThatDoNotFitAreNoPixel) {
  const ScreenMap scaled = MapFor(640, 480, 'y');
  constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
  EXPECT_EQ(Mapped(scaled, kMax, 0).first, -1);
  EXPECT_EQ(Mapped(scaled, 0, kMax).first, -1);
  const ScreenMap shifted = MapFor(640, 480, 'n');
  EXPECT_EQ(Mapped(shifted, kMax - 10, 5).first, -1);
  EXPECT_EQ(Mapped(shifted, 5, kMax).first, -1);
  const ScreenMap big = MapFor(1280, 1024, 'n');
  EXPECT_EQ(Mapped(big, std::numeric_limits<std::int32_t>::min(), 0).first, -1);
}

}  // namespace
}  // namespace zirvo
