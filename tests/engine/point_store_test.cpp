// The point store: refusals, shared pixels in every order, growth, the free
// list, the inert state, and a property test against a per-pixel stack model.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <map>
#include <random>
#include <vector>

#include "engine/IndexedPointStore.h"
#include "engine/RowWalkPointStore.h"
#include "engine/Show.h"
#include "support/StoreParams.h"

namespace zirvo {
namespace {

constexpr COLORREF kRed = 0x0000FF;
constexpr COLORREF kGreen = 0x00FF00;

ScreenPoint At(std::int32_t x, std::int32_t y, COLORREF colour) {
  return {x, y, colour};
}

class PointStoreTest : public ::testing::TestWithParam<StoreMaker> {
 protected:
  std::unique_ptr<PointStore> Make(std::int32_t w, std::int32_t h, std::uint32_t capacity,
                                   PoolMemory& memory = DefaultPoolMemory()) {
    return GetParam()(w, h, capacity, memory);
  }
};

TEST_P(PointStoreTest, RefusesPointsOutsideTheVirtualScreen) {
  auto store = Make(10, 8, 16);
  for (ScreenPoint p : {At(-1, 0, kRed), At(0, -1, kRed), At(10, 0, kRed), At(0, 8, kRed)}) {
    EXPECT_EQ(store->InsertPoint(-1, p), -1);
    EXPECT_EQ(p.x, -1);
  }
  ScreenPoint corner = At(9, 7, kRed);
  EXPECT_EQ(store->InsertPoint(-1, corner), 0);
  EXPECT_EQ(corner.x, 9) << "a stored point is left as it was";
  EXPECT_EQ(store->StoredPoints(), 1u);
}

TEST_P(PointStoreTest, LonePointRepaintsBlackUnlessItWasBlack) {
  auto store = Make(10, 10, 16);
  ScreenPoint p = At(3, 4, kRed);
  const auto i = store->InsertPoint(-1, p);
  ScreenPoint out = At(99, 99, 7);
  EXPECT_EQ(store->RemovePoint(i, out), -1);
  EXPECT_EQ(out.x, 3);
  EXPECT_EQ(out.y, 4);
  EXPECT_EQ(out.colour, kBlack);

  ScreenPoint black = At(3, 4, kBlack);
  const auto j = store->InsertPoint(-1, black);
  out = At(99, 99, 7);
  store->RemovePoint(j, out);
  EXPECT_EQ(out.x, -1);
  EXPECT_EQ(out.y, 99) << "only x is written when nothing is painted";
}

TEST_P(PointStoreTest, SharedPixelGivesBackTheRightColour) {
  auto store = Make(10, 10, 16);
  ScreenPoint out;
  {  // Older removed first: the newer one stays visible, then black.
    ScreenPoint a = At(5, 5, kRed), b = At(5, 5, kGreen);
    const auto ia = store->InsertPoint(-1, a), ib = store->InsertPoint(-1, b);
    store->RemovePoint(ia, out);
    EXPECT_EQ(out.x, -1);
    store->RemovePoint(ib, out);
    EXPECT_EQ(out.x, 5);
    EXPECT_EQ(out.colour, kBlack);
  }
  {  // Newer removed first: the older colour comes back.
    ScreenPoint a = At(5, 5, kRed), b = At(5, 5, kGreen);
    const auto ia = store->InsertPoint(-1, a), ib = store->InsertPoint(-1, b);
    store->RemovePoint(ib, out);
    EXPECT_EQ(out.x, 5);
    EXPECT_EQ(out.colour, kRed);
    store->RemovePoint(ia, out);
    EXPECT_EQ(out.colour, kBlack);
  }
  {  // Same colour underneath: nothing to paint.
    ScreenPoint a = At(5, 5, kGreen), b = At(5, 5, kGreen);
    const auto ia = store->InsertPoint(-1, a), ib = store->InsertPoint(-1, b);
    store->RemovePoint(ib, out);
    EXPECT_EQ(out.x, -1);
    store->RemovePoint(ia, out);
    EXPECT_EQ(out.x, 5);
  }
  {  // red, green, red: removing the last gives green, then the green gives red.
    ScreenPoint a = At(2, 2, kRed), b = At(2, 2, kGreen), c = At(2, 2, kRed);
    const auto ia = store->InsertPoint(-1, a);
    const auto ib = store->InsertPoint(-1, b);
    const auto ic = store->InsertPoint(-1, c);
    store->RemovePoint(ic, out);
    EXPECT_EQ(out.colour, kGreen);
    store->RemovePoint(ib, out);
    EXPECT_EQ(out.x, 2);
    EXPECT_EQ(out.colour, kRed);
    store->RemovePoint(ia, out);
    EXPECT_EQ(out.colour, kBlack);
  }
}

TEST_P(PointStoreTest, ChainsLinkNewerPointsAndRemovalReturnsTheNext) {
  auto store = Make(10, 10, 16);
  ScreenPoint p1 = At(1, 1, kRed), p2 = At(2, 1, kRed), p3 = At(3, 1, kRed);
  const auto i1 = store->InsertPoint(-1, p1);
  const auto i2 = store->InsertPoint(i1, p2);
  const auto i3 = store->InsertPoint(i2, p3);
  ScreenPoint out;
  EXPECT_EQ(store->RemovePoint(i1, out), i2);
  EXPECT_EQ(store->RemovePoint(i2, out), i3);
  EXPECT_EQ(store->RemovePoint(i3, out), -1);
}

TEST_P(PointStoreTest, FreedNodeIsHandedOutNextAndRemovalOfFreeNodesIsRefused) {
  auto store = Make(10, 10, 16);
  ScreenPoint p = At(1, 1, kRed);
  EXPECT_EQ(store->InsertPoint(-1, p), 0);
  p = At(2, 2, kRed);
  EXPECT_EQ(store->InsertPoint(-1, p), 1);
  ScreenPoint out;
  store->RemovePoint(0, out);
  p = At(3, 3, kRed);
  EXPECT_EQ(store->InsertPoint(-1, p), 0);
  for (std::int32_t bad : {-1, 5, 16, 1000}) {
    out.x = 7;
    EXPECT_EQ(store->RemovePoint(bad, out), -1) << bad;
    EXPECT_EQ(out.x, -1);
  }
  EXPECT_EQ(store->StoredPoints(), 2u);
}

TEST_P(PointStoreTest, GrowsByBlocksOf2048) {
  auto store = Make(10, 10, 1);
  ScreenPoint p = At(1, 1, kRed);
  EXPECT_EQ(store->InsertPoint(-1, p), 0);
  p = At(1, 1, kRed);
  EXPECT_EQ(store->InsertPoint(-1, p), 1);
  EXPECT_EQ(store->Capacity(), 2049u);
  EXPECT_EQ(store->FreeCount(), 2047u);
  EXPECT_EQ(Make(10, 10, 0)->Capacity(), 65536u);
}

// A pool of a few megabytes grows many times, its block moving to fresh
// memory on the way: every node keeps its point and its trail link.
TEST_P(PointStoreTest, GrowingPastSeveralMegabytesKeepsEveryNode) {
  constexpr std::int32_t kSide = 512;
  constexpr std::int32_t kPoints = 300000;  // about 7 MB of nodes
  auto store = Make(kSide, kSide, 0);
  std::int32_t previous = -1;
  for (std::int32_t i = 0; i < kPoints; ++i) {
    ScreenPoint p = At(i % kSide, (i / kSide) % kSide, static_cast<COLORREF>(i));
    ASSERT_EQ(store->InsertPoint(previous, p), i);
    previous = i;
  }
  EXPECT_GE(store->Capacity(), static_cast<std::uint32_t>(kPoints));
  ScreenPoint out;
  for (std::int32_t i = 0; i < kPoints; i += 997) {
    ASSERT_EQ(store->GetPoint(i, out), 1);
    EXPECT_EQ(out.x, i % kSide);
    EXPECT_EQ(out.y, (i / kSide) % kSide);
    EXPECT_EQ(out.colour, static_cast<COLORREF>(i));
  }
  // The trail, oldest first, comes back whole.
  std::int32_t node = 0;
  for (std::int32_t i = 0; i < kPoints; ++i) {
    ASSERT_EQ(node, i);
    node = store->RemovePoint(node, out);
  }
  EXPECT_EQ(node, -1);
  EXPECT_EQ(store->StoredPoints(), 0u);
}

TEST_P(PointStoreTest, GetPointCopiesAnyNodeWithinThePool) {
  auto store = Make(10, 10, 4);
  ScreenPoint p = At(4, 6, kGreen);
  store->InsertPoint(-1, p);
  ScreenPoint out;
  EXPECT_EQ(store->GetPoint(0, out), 1);
  EXPECT_EQ(out.x, 4);
  EXPECT_EQ(out.y, 6);
  EXPECT_EQ(out.colour, kGreen);
  EXPECT_EQ(store->GetPoint(3, out), 1);
  EXPECT_EQ(out.x, -1) << "a free node";
  EXPECT_EQ(store->GetPoint(4, out), 0);
}

// Refuses the allocation numbered `failAt` (1-based) and every one after it
// while `failing` is set.
class FailingMemory : public PoolMemory {
 public:
  int calls = 0;
  int failFrom = 1 << 30;
  int failUntil = 1 << 30;
  bool Fails() {
    ++calls;
    return calls >= failFrom && calls < failUntil;
  }
  void* Allocate(std::size_t bytes) override {
    return Fails() ? nullptr : PoolMemory::Allocate(bytes);
  }
  void* Resize(void* block, std::size_t bytes) override {
    return Fails() ? nullptr : PoolMemory::Resize(block, bytes);
  }
};

// The pool is every store's first allocation; the row-walk store's row table
// its second.
TEST_P(PointStoreTest, InertWhenThePoolOrTheRowTableCannotBeHad) {
  const std::vector<int> failures =
      GetParam() == &MakeRowWalkPointStore ? std::vector<int>{1, 2} : std::vector<int>{1};
  for (int failAt : failures) {
    FailingMemory memory;
    memory.failFrom = failAt;
    auto store = Make(10, 10, 16, memory);
    EXPECT_TRUE(store->IsInert()) << failAt;
    ScreenPoint p = At(1, 1, kRed), out;
    EXPECT_EQ(store->InsertPoint(-1, p), -1);
    EXPECT_EQ(p.x, -1);
    EXPECT_EQ(store->RemovePoint(0, out), -1);
    EXPECT_EQ(out.x, -1);
    EXPECT_EQ(store->GetPoint(0, out), 0);
  }
}

TEST_P(PointStoreTest, FailedGrowthRefusesOneInsertAndLeavesTheStoreUsable) {
  FailingMemory memory;
  auto store = Make(10, 10, 1, memory);
  ScreenPoint p = At(1, 1, kRed);
  ASSERT_EQ(store->InsertPoint(-1, p), 0);
  memory.failFrom = memory.calls + 1;
  memory.failUntil = memory.calls + 2;
  p = At(2, 2, kGreen);
  EXPECT_EQ(store->InsertPoint(0, p), -1);
  EXPECT_EQ(p.x, -1);
  EXPECT_EQ(store->Capacity(), 1u);
  p = At(2, 2, kGreen);
  EXPECT_EQ(store->InsertPoint(0, p), 1) << "the next insert grows the pool";
  ScreenPoint out;
  EXPECT_EQ(store->RemovePoint(0, out), 1) << "the first point is intact";
  EXPECT_EQ(out.colour, kBlack);
}

TEST_P(PointStoreTest, PoolWhoseSizeCannotBeRepresentedMakesTheStoreInert) {
  EXPECT_TRUE(Make(10, 10, 0xFFFFFFFFu)->IsInert());
  EXPECT_TRUE(Make(10, -5, 16)->IsInert());
}

// Random trails on a small screen so pixels are shared often; every removal is
// checked against what a per-pixel stack of colours says the pixel must show.
// Hints of coming turns, right or wrong (nodes free, in use or beyond the pool,
// pixels on and off the screen), come between the operations: they must
// change nothing.
TEST_P(PointStoreTest, RepaintsMatchAPerPixelStackModel) {
  std::mt19937 rng(12345);
  for (int round = 0; round < 200; ++round) {
    const int w = 1 + static_cast<int>(rng() % 6), h = 1 + static_cast<int>(rng() % 4);
    auto store = Make(w, h, static_cast<std::uint32_t>(1 + rng() % 8));
    std::map<std::pair<int, int>, std::vector<std::pair<std::int32_t, COLORREF>>> pixels;
    std::vector<std::deque<std::int32_t>> trails(3);
    for (int op = 0; op < 400; ++op) {
      ScreenPoint repaint;
      store->PrefetchTurn(static_cast<int>(rng() % (w + 2)) - 1,
                          static_cast<int>(rng() % (h + 2)) - 1,
                          static_cast<int>(rng() % (store->Capacity() + 4)) - 2, repaint);
      auto& trail = trails[rng() % trails.size()];
      if (rng() % 5 < 3) {
        ScreenPoint p = At(static_cast<int>(rng() % (w + 1)) - (rng() % 8 == 0 ? 1 : 0),
                           static_cast<int>(rng() % h), Palette16[rng() % 4]);
        const ScreenPoint asked = p;
        const auto i = store->InsertPoint(trail.empty() ? -1 : trail.back(), p);
        if (asked.x < 0 || asked.x >= w) {
          ASSERT_EQ(i, -1);
          continue;
        }
        ASSERT_GE(i, 0);
        trail.push_back(i);
        pixels[{asked.x, asked.y}].push_back({i, asked.colour});
      } else if (!trail.empty()) {
        const auto i = trail.front();
        trail.pop_front();
        ScreenPoint node;
        ASSERT_EQ(store->GetPoint(i, node), 1);
        auto& stack = pixels[{node.x, node.y}];
        const auto at =
            std::find_if(stack.begin(), stack.end(), [i](const auto& e) { return e.first == i; });
        ASSERT_NE(at, stack.end());
        const bool onTop = at + 1 == stack.end();
        const COLORREF shown = at->second;
        stack.erase(at);
        const COLORREF after = stack.empty() ? kBlack : stack.back().second;
        ScreenPoint out;
        const auto next = store->RemovePoint(i, out);
        ASSERT_EQ(next, trail.empty() ? -1 : trail.front());
        if (!onTop || after == shown) {
          ASSERT_EQ(out.x, -1);
        } else {
          ASSERT_EQ(out.x, node.x);
          ASSERT_EQ(out.y, node.y);
          ASSERT_EQ(out.colour, after);
        }
      }
      std::size_t stored = 0;
      for (const auto& t : trails)
        stored += t.size();
      ASSERT_EQ(store->StoredPoints(), stored);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Stores, PointStoreTest,
                         ::testing::Values(&MakeRowWalkPointStore, &MakePointStore),
                         testing::StoreName);

// The reference store's row lists: sorted by x, same-pixel runs oldest first.
// The pixel a hinted removal may repaint comes back from a later hint once the
// node has been looked at, whether or not a newer point covers it (the removal
// decides); a free node names none.
TEST(IndexedPointStore, HintsNameThePixelAComingRemovalRepaints) {
  auto store = MakePointStore(10, 10, 16);
  ScreenPoint p = At(3, 4, kRed);
  const std::int32_t alone = store->InsertPoint(-1, p);
  p = At(6, 6, kRed);
  const std::int32_t covered = store->InsertPoint(-1, p);
  p = At(6, 6, kGreen);
  ASSERT_GE(store->InsertPoint(-1, p), 0);

  const auto repaintsNamed = [&](std::int32_t node) {
    std::vector<std::pair<int, int>> named;
    ScreenPoint repaint;
    store->PrefetchTurn(-1, 0, node, repaint);
    for (int hint = 0; hint < 16; ++hint) {
      if (repaint.x >= 0)
        named.emplace_back(repaint.x, repaint.y);
      store->PrefetchTurn(-1, 0, -1, repaint);
    }
    return named;
  };
  EXPECT_EQ(repaintsNamed(alone), (std::vector<std::pair<int, int>>{{3, 4}}));
  EXPECT_EQ(repaintsNamed(covered), (std::vector<std::pair<int, int>>{{6, 6}}));
  EXPECT_TRUE(repaintsNamed(12).empty()) << "a free node";
}

TEST(RowWalkPointStore, RowListsStaySortedWithRunsInInsertionOrder) {
  RowWalkPointStore store(8, 3, 4);
  std::mt19937 rng(7);
  std::deque<std::int32_t> trail;
  for (int op = 0; op < 3000; ++op) {
    if (rng() % 3 != 0 || trail.empty()) {
      ScreenPoint p = At(static_cast<int>(rng() % 8), static_cast<int>(rng() % 3), kRed);
      trail.push_back(store.InsertPoint(trail.empty() ? -1 : trail.back(), p));
    } else {
      ScreenPoint out;
      store.RemovePoint(trail.front(), out);
      trail.pop_front();
    }
    for (int y = 0; y < 3; ++y) {
      std::int32_t prev = -1;
      for (std::int32_t i = store.RowHeads()[y]; i != -1; i = store.Nodes()[i].rowNext) {
        const PointNode& n = store.Nodes()[i];
        ASSERT_EQ(n.y, y);
        ASSERT_EQ(n.rowPrev, prev);
        if (prev != -1) {
          const PointNode& p = store.Nodes()[prev];
          ASSERT_LE(p.x, n.x);
          // Within a pixel, older (earlier in the trail) comes first.
          if (p.x == n.x) {
            const auto ip = std::find(trail.begin(), trail.end(), prev);
            const auto in = std::find(trail.begin(), trail.end(), i);
            ASSERT_LT(ip, in);
          }
        }
        prev = i;
      }
    }
  }
}

}  // namespace
}  // namespace zirvo

namespace zirvo {
namespace {

// A packed node keeps only y * width + x; its row comes back through a
// multiplication that must divide exactly for every number below 2^31.
TEST(PixelNumbering, RowsComeBackExactlyForEveryWidth) {
  std::vector<std::int32_t> widths;
  for (std::int32_t w = 1; w <= 4100; ++w)
    widths.push_back(w);
  for (std::int32_t w : {46340, 46341, 65535, 65536, 65537, 1 << 20, (1 << 20) + 1, 0x3FFFFFFF,
                         0x40000000, 0x40000001, 0x7FFFFFFE, 0x7FFFFFFF})
    widths.push_back(w);
  constexpr std::uint64_t kLast = PixelNumbering::kMaxPixels - 1;
  for (std::int32_t w : widths) {
    const PixelNumbering numbering(w);
    const auto check = [&](std::uint64_t n) {
      ASSERT_EQ(numbering.RowOf(static_cast<std::uint32_t>(n)), static_cast<std::int32_t>(n / w))
          << "width " << w << ", pixel " << n;
    };
    // Row edges, where a rounding error would show first: the first rows,
    // the last ones, and the last number.
    const std::uint64_t lastRow = kLast / w;
    for (std::uint64_t row : {std::uint64_t{0}, std::uint64_t{1}, std::uint64_t{63}, lastRow - 2,
                              lastRow - 1, lastRow}) {
      if (row > lastRow)
        continue;  // a narrow screen's row count wrapped below zero
      check(row * w);
      check(std::min(row * w + w - 1, kLast));
    }
    check(kLast);
  }
}

// The packed store on a screen whose pixels need the full 31 bits.
TEST(IndexedPointStore, PackedNodesGiveBackPointsOnTheWidestScreens) {
  IndexedPointStore store(0x7FFFFFFF, 1, 4);
  ASSERT_FALSE(store.IsInert());
  ScreenPoint p = At(0x7FFFFFFE, 0, kRed);
  const std::int32_t a = store.InsertPoint(-1, p);
  ASSERT_NE(a, -1);
  ScreenPoint out;
  ASSERT_EQ(store.GetPoint(a, out), 1);
  EXPECT_EQ(out.x, 0x7FFFFFFE);
  EXPECT_EQ(out.y, 0);
  EXPECT_EQ(store.RemovePoint(a, out), -1);
  EXPECT_EQ(out.x, 0x7FFFFFFE) << "the repaint names the pixel";
  ASSERT_EQ(store.GetPoint(a, out), 1);
  EXPECT_EQ(out.x, -1) << "free";
  EXPECT_EQ(out.y, 0) << "a free node keeps its row";

  IndexedPointStore tall(2, 0x40000000, 4);
  ASSERT_FALSE(tall.IsInert()) << "2^31 pixels still fit";
  ScreenPoint q = At(1, 0x3FFFFFFF, kGreen);
  ASSERT_NE(tall.InsertPoint(-1, q), -1);
  ASSERT_EQ(tall.GetPoint(0, out), 1);
  EXPECT_EQ(out.x, 1);
  EXPECT_EQ(out.y, 0x3FFFFFFF);
  EXPECT_TRUE(IndexedPointStore(3, 0x40000000, 4).IsInert()) << "beyond 2^31 pixels";
}

}  // namespace
}  // namespace zirvo
