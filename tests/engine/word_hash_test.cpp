// The pixel index's hash table: keys found, replaced and erased as a map
// would, through collisions, wrap-around runs and growth; erasing shifts runs
// back so that a table whose keys come and go stays as full as its contents.
#include "engine/WordHash.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <unordered_map>
#include <vector>

namespace zirvo {
namespace {

TEST(WordHash, FindsWhatWasInsertedAndOnlyThat) {
  WordHash hash;
  EXPECT_EQ(hash.Find(7), nullptr) << "an empty table holds nothing";
  hash.Erase(7);  // and erasing from it is nothing
  std::uint64_t* seven = hash.FindOrInsert(7, 70);
  ASSERT_NE(seven, nullptr);
  EXPECT_EQ(*seven, 70u);
  *seven = 71;
  EXPECT_EQ(*hash.FindOrInsert(7, 99), 71u) << "a key already there keeps its value";
  EXPECT_EQ(hash.Size(), 1u);
  EXPECT_EQ(hash.Find(8), nullptr);
  hash.Erase(8);
  EXPECT_EQ(hash.Size(), 1u);
  hash.Erase(7);
  EXPECT_EQ(hash.Find(7), nullptr);
  EXPECT_EQ(hash.Size(), 0u);
  // Keys at the ends of the range, all but the one that marks an empty slot.
  for (std::uint64_t key : {std::uint64_t{0}, WordHash::kNoKey - 1, std::uint64_t{1} << 63})
    *hash.FindOrInsert(key, 0) = key;
  for (std::uint64_t key : {std::uint64_t{0}, WordHash::kNoKey - 1, std::uint64_t{1} << 63})
    EXPECT_EQ(*hash.Find(key), key);
}

TEST(WordHash, KeysComingAndGoingForLongBehaveAsAMapAndKeepTheTableSmall) {
  // Pixel numbers of a screen, stored and removed at random as trails are.
  WordHash hash;
  std::unordered_map<std::uint64_t, std::uint64_t> reference;
  std::mt19937_64 random(42);
  std::vector<std::uint64_t> live;
  for (int step = 0; step < 200000; ++step) {
    const bool insert = live.size() < 400 || (random() % 2 == 0 && live.size() < 600);
    if (insert) {
      const std::uint64_t key = random() % 4096;  // many collisions and reuses
      std::uint64_t* value = hash.FindOrInsert(key, step);
      ASSERT_NE(value, nullptr);
      if (reference.emplace(key, static_cast<std::uint64_t>(step)).second)
        live.push_back(key);
      ASSERT_EQ(*value, reference.at(key));
    } else {
      const std::size_t at = random() % live.size();
      hash.Erase(live[at]);
      reference.erase(live[at]);
      live[at] = live.back();
      live.pop_back();
    }
    ASSERT_EQ(hash.Size(), reference.size());
  }
  for (std::uint64_t key = 0; key < 4096; ++key) {
    const auto found = reference.find(key);
    std::uint64_t* value = hash.Find(key);
    if (found == reference.end()) {
      EXPECT_EQ(value, nullptr) << key;
    } else {
      ASSERT_NE(value, nullptr) << key;
      EXPECT_EQ(*value, found->second) << key;
    }
  }
  // At most half full: 600 keys never need more than 2048 slots.
  EXPECT_LE(hash.MemoryBytes(), 2048 * 2 * sizeof(std::uint64_t));
}

TEST(WordHash, GrowsByDoublingAndKeepsEveryKey) {
  WordHash hash;
  std::size_t bytes = 0;
  std::vector<std::size_t> sizes;
  for (std::uint64_t key = 0; key < 10000; ++key) {
    *hash.FindOrInsert(key * 0x9E3779B97F4A7C15ULL, 0) = key;
    if (hash.MemoryBytes() != bytes) {
      bytes = hash.MemoryBytes();
      sizes.push_back(bytes);
    }
  }
  for (std::size_t i = 1; i < sizes.size(); ++i)
    EXPECT_EQ(sizes[i], 2 * sizes[i - 1]);
  for (std::uint64_t key = 0; key < 10000; ++key)
    ASSERT_EQ(*hash.Find(key * 0x9E3779B97F4A7C15ULL), key);
}

}  // namespace
}  // namespace zirvo
