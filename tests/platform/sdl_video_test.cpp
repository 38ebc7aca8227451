// Which of SDL's video drivers the programs start, from the environment and
// the drivers this SDL has.
#include "platform/sdl/SdlVideo.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zirvo {
namespace {

using Drivers = std::vector<std::string>;
const Drivers kDebians = {"x11", "wayland", "KMSDRM", "offscreen", "dummy", "evdev"};

TEST(DriversToTryTest, AWaylandSessionGetsWaylandsOwnDriverThenXWayland) {
  EXPECT_EQ(DriversToTry({"", "wayland-0", kDebians}), (Drivers{"wayland", "x11"}));
  // An SDL without the Wayland driver goes through XWayland.
  EXPECT_EQ(DriversToTry({"", "wayland-0", {"x11", "offscreen"}}), (Drivers{"x11"}));
}

TEST(DriversToTryTest, TheUsersChoiceAndOtherDesktopsAreLeftToSdl) {
  EXPECT_TRUE(DriversToTry({"x11", "wayland-0", kDebians}).empty());
  EXPECT_TRUE(DriversToTry({"offscreen", "", kDebians}).empty());
  EXPECT_TRUE(DriversToTry({"", "", kDebians}).empty());
}

}  // namespace
}  // namespace zirvo
