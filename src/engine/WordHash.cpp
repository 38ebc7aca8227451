#include "engine/WordHash.h"

#include <cassert>
#include <new>

namespace zirvo {

namespace {

constexpr std::size_t kFirstSlotCount = 1024;

// The finaliser of a well-mixed 64-bit hash: neighbouring pixels and rows land
// far apart, so runs of occupied slots stay short.
std::uint64_t Mix(std::uint64_t key) {
  key ^= key >> 33;
  key *= 0xff51afd7ed558ccdULL;
  key ^= key >> 33;
  key *= 0xc4ceb9fe1a85ec53ULL;
  key ^= key >> 33;
  return key;
}

}  // namespace

std::size_t WordHash::HomeOf(std::uint64_t key) const {
  return static_cast<std::size_t>(Mix(key)) & (slotCount_ - 1);
}

std::uint64_t* WordHash::Find(std::uint64_t key) const {
  assert(key != kNoKey);
  if (slotCount_ == 0)
    return nullptr;
  for (std::size_t i = HomeOf(key);; i = (i + 1) & (slotCount_ - 1)) {
    Slot& slot = slots_[i];
    if (slot.key == key)
      return &slot.value;
    if (slot.key == kNoKey)
      return nullptr;
  }
}

std::uint64_t* WordHash::FindOrInsert(std::uint64_t key, std::uint64_t initial) {
  assert(key != kNoKey);
  if (std::uint64_t* found = Find(key))
    return found;
  // At most half full: probe runs stay a few slots long.
  if ((size_ + 1) * 2 > slotCount_ && !Grow())
    return nullptr;
  std::size_t i = HomeOf(key);
  while (slots_[i].key != kNoKey)
    i = (i + 1) & (slotCount_ - 1);
  slots_[i] = Slot{key, initial};
  ++size_;
  return &slots_[i].value;
}

void WordHash::Erase(std::uint64_t key) {
  assert(key != kNoKey);
  if (slotCount_ == 0)
    return;
  const std::size_t mask = slotCount_ - 1;
  std::size_t hole = HomeOf(key);
  while (slots_[hole].key != key) {
    if (slots_[hole].key == kNoKey)
      return;
    hole = (hole + 1) & mask;
  }
  // Shift later members of the run back into the hole when their home slot
  // does not lie cyclically between the hole and where they stand.
  for (std::size_t i = (hole + 1) & mask; slots_[i].key != kNoKey; i = (i + 1) & mask) {
    const std::size_t home = HomeOf(slots_[i].key);
    const bool stays = hole <= i ? (hole < home && home <= i) : (hole < home || home <= i);
    if (!stays) {
      slots_[hole] = slots_[i];
      hole = i;
    }
  }
  slots_[hole].key = kNoKey;
  --size_;
}

bool WordHash::Grow() {
  const std::size_t newCount = slotCount_ == 0 ? kFirstSlotCount : slotCount_ * 2;
  if (newCount < slotCount_ || newCount > SIZE_MAX / sizeof(Slot))
    return false;
  std::unique_ptr<Slot[]> fresh(new (std::nothrow) Slot[newCount]);
  if (!fresh)
    return false;
  for (std::size_t i = 0; i < newCount; ++i)
    fresh[i].key = kNoKey;
  std::unique_ptr<Slot[]> old = std::move(slots_);
  const std::size_t oldCount = slotCount_;
  slots_ = std::move(fresh);
  slotCount_ = newCount;
  for (std::size_t j = 0; j < oldCount; ++j) {
    if (old[j].key == kNoKey)
      continue;
    std::size_t i = HomeOf(old[j].key);
    while (slots_[i].key != kNoKey)
      i = (i + 1) & (newCount - 1);
    slots_[i] = old[j];
  }
  return true;
}

}  // namespace zirvo
