// A map from 64-bit keys to 64-bit values: open addressing with linear probing
// and backward-shift deletion (no tombstones, so a table whose keys come and go
// for hours never silts up). Growth never throws: it reports failure instead,
// and the table stays as it was.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace zirvo {

class WordHash {
 public:
  static constexpr std::uint64_t kNoKey = ~std::uint64_t{0};

  // kNoKey marks an empty slot, so it is never a key:
  // REQUIRES (every call below): key != kNoKey.

  // The value stored under `key`, or null. The pointer lives until the next
  // insertion or erasure.
  std::uint64_t* Find(std::uint64_t key) const;
  // The value under `key`, inserted as `initial` when missing; null when the
  // table could not grow to take it.
  std::uint64_t* FindOrInsert(std::uint64_t key, std::uint64_t initial);
  void Erase(std::uint64_t key);

  std::size_t Size() const { return size_; }
  std::size_t MemoryBytes() const { return slotCount_ * sizeof(Slot); }

 private:
  struct Slot {
    std::uint64_t key;
    std::uint64_t value;
  };

  std::size_t HomeOf(std::uint64_t key) const;
  bool Grow();

  std::unique_ptr<Slot[]> slots_;
  std::size_t slotCount_ = 0;  // a power of two, or 0 before the first insertion
  std::size_t size_ = 0;
};

}  // namespace zirvo
