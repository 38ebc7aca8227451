// The saver's scene order: shuffled rounds, no scene twice in a row.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "app/SceneRotation.h"

namespace zirvo {
namespace {

TEST(SceneRotation, OneSceneIsShownAgainAndAgain) {
  SceneRotation rotation({"only.zrv"}, 3);
  EXPECT_EQ(rotation.Current(), "only.zrv");
  for (int i = 0; i < 5; ++i)
    EXPECT_EQ(rotation.Next(), "only.zrv");
}

TEST(SceneRotation, TwoScenesTakeTurns) {
  SceneRotation rotation({"a", "b"}, 11);
  std::string last = rotation.Current();
  for (int i = 0; i < 1000; ++i) {
    const std::string next = rotation.Next();
    ASSERT_NE(next, last) << "draw " << i;
    last = next;
  }
}

TEST(SceneRotation, EveryRoundShowsEverySceneOnceAndNeverRepeatsAtTheSeam) {
  const std::vector<std::string> scenes = {"a", "b", "c", "d", "e"};
  for (std::uint32_t seed : {0u, 1u, 2u, 99u, 123456u}) {
    SceneRotation rotation(scenes, seed);
    std::string last;
    for (int round = 0; round < 400; ++round) {
      std::set<std::string> seen;
      for (std::size_t i = 0; i < scenes.size(); ++i) {
        const std::string scene = round == 0 && i == 0 ? rotation.Current() : rotation.Next();
        ASSERT_NE(scene, last) << "seed " << seed << " round " << round;
        seen.insert(scene);
        last = scene;
      }
      ASSERT_EQ(seen.size(), scenes.size()) << "seed " << seed << " round " << round;
    }
  }
}

TEST(SceneRotation, TheOrderIsShuffledAndFollowsTheSeed) {
  const std::vector<std::string> scenes = {"a", "b", "c", "d", "e", "f"};
  auto firstRound = [&](std::uint32_t seed) {
    SceneRotation rotation(scenes, seed);
    std::vector<std::string> order = {rotation.Current()};
    for (std::size_t i = 1; i < scenes.size(); ++i)
      order.push_back(rotation.Next());
    return order;
  };
  EXPECT_EQ(firstRound(42), firstRound(42));
  std::set<std::vector<std::string>> orders;
  for (std::uint32_t seed = 0; seed < 20; ++seed)
    orders.insert(firstRound(seed));
  EXPECT_GT(orders.size(), 10u) << "twenty seeds gave few different orders";
  EXPECT_FALSE(orders.size() == 1 && *orders.begin() == scenes) << "never shuffled";
}

}  // namespace
}  // namespace zirvo
