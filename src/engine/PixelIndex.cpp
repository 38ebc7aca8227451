#include "engine/PixelIndex.h"

#include <bit>
#include <new>

#include "engine/WordHash.h"

namespace zirvo {

namespace {

// Six levels of 64-way words cover 64^6 columns, more than any signed 32-bit width.
constexpr int kMaxLevels = 6;

int LevelsFor(std::int32_t width) {
  int levels = 1;
  for (std::uint64_t span = 64; span < static_cast<std::uint64_t>(width); span *= 64)
    ++levels;
  return levels;
}

std::uint64_t BitOf(std::uint64_t unit) {
  return std::uint64_t{1} << (unit & 63);
}
std::uint64_t BitsBelow(std::uint64_t unit) {
  return BitOf(unit) - 1;
}
std::uint64_t HighestBit(std::uint64_t word) {
  return 63 - static_cast<std::uint64_t>(std::countl_zero(word));
}

// The nearest occupied column left of x in row y, or -1. `maskAt(level, y,
// word)` reads a mask word (0 when absent). At level l a unit is a run of 64^l
// columns: climb until a word has an occupied unit left of ours, then descend
// through the highest bits.
template <typename MaskAt>
std::int64_t OccupiedLeftOf(std::int32_t x, std::int32_t y, int levels, const MaskAt& maskAt) {
  std::uint64_t unit = static_cast<std::uint64_t>(x);
  for (int level = 0; level < levels; ++level) {
    const std::uint64_t word = unit >> 6;
    const std::uint64_t left = maskAt(level, y, word) & BitsBelow(unit);
    if (left != 0) {
      unit = (word << 6) | HighestBit(left);
      for (int down = level - 1; down >= 0; --down) {
        unit = (unit << 6) | HighestBit(maskAt(down, y, unit));
      }
      return static_cast<std::int64_t>(unit);
    }
    unit = word;
  }
  return -1;
}

class DensePixelIndex final : public PixelIndex {
 public:
  bool Allocate(std::int32_t width, std::int32_t height) {
    width_ = width;
    levels_ = LevelsFor(width);
    const std::uint64_t pixels = std::uint64_t(width) * std::uint64_t(height);
    if (pixels > SIZE_MAX / sizeof(std::int32_t))
      return false;
    newest_.reset(new (std::nothrow) std::int32_t[pixels]);
    if (!newest_)
      return false;
    for (std::uint64_t i = 0; i < pixels; ++i)
      newest_[i] = -1;
    bytes_ = pixels * sizeof(std::int32_t);
    std::uint64_t units = static_cast<std::uint64_t>(width);
    for (int level = 0; level < levels_; ++level) {
      rowWords_[level] = (units + 63) / 64;
      const std::uint64_t words = rowWords_[level] * std::uint64_t(height);
      masks_[level].reset(new (std::nothrow) std::uint64_t[words]());
      if (!masks_[level])
        return false;
      bytes_ += words * sizeof(std::uint64_t);
      units = rowWords_[level];
    }
    return true;
  }

  std::int32_t Newest(std::int32_t x, std::int32_t y) const override {
    return newest_[PixelAt(x, y)];
  }

  std::int32_t NewestLeftOf(std::int32_t x, std::int32_t y) const override {
    const auto maskAt = [this](int level, std::int32_t row, std::uint64_t word) {
      return Word(level, row, word);
    };
    const std::int64_t column = OccupiedLeftOf(x, y, levels_, maskAt);
    return column < 0 ? -1 : newest_[PixelAt(static_cast<std::int32_t>(column), y)];
  }

  bool SetNewest(std::int32_t x, std::int32_t y, std::int32_t node) override {
    std::int32_t& newest = newest_[PixelAt(x, y)];
    const bool wasEmpty = newest < 0;
    newest = node;
    if (wasEmpty) {
      std::uint64_t unit = static_cast<std::uint64_t>(x);
      for (int level = 0; level < levels_; ++level) {
        std::uint64_t& word = Word(level, y, unit >> 6);
        const bool wordWasEmpty = word == 0;
        word |= BitOf(unit);
        if (!wordWasEmpty)
          break;  // the levels above already know this word
        unit >>= 6;
      }
    }
    return true;
  }

  void ClearPixel(std::int32_t x, std::int32_t y) override {
    newest_[PixelAt(x, y)] = -1;
    std::uint64_t unit = static_cast<std::uint64_t>(x);
    for (int level = 0; level < levels_; ++level) {
      std::uint64_t& word = Word(level, y, unit >> 6);
      word &= ~BitOf(unit);
      if (word != 0)
        break;
      unit >>= 6;
    }
  }

  std::size_t MemoryBytes() const override { return bytes_; }

 private:
  std::size_t PixelAt(std::int32_t x, std::int32_t y) const {
    return std::size_t(y) * std::size_t(width_) + std::size_t(x);
  }
  std::uint64_t& Word(int level, std::int32_t y, std::uint64_t word) const {
    return masks_[level][std::size_t(y) * rowWords_[level] + word];
  }

  std::int32_t width_ = 0;
  int levels_ = 0;
  std::unique_ptr<std::int32_t[]> newest_;
  std::unique_ptr<std::uint64_t[]> masks_[kMaxLevels];
  std::uint64_t rowWords_[kMaxLevels] = {};
  std::size_t bytes_ = 0;
};

class HashedPixelIndex final : public PixelIndex {
 public:
  explicit HashedPixelIndex(std::int32_t width) : levels_(LevelsFor(width)) {}

  std::int32_t Newest(std::int32_t x, std::int32_t y) const override {
    const std::uint64_t* node = pixels_.Find(PixelKey(x, y));
    return node == nullptr ? -1 : static_cast<std::int32_t>(*node);
  }

  std::int32_t NewestLeftOf(std::int32_t x, std::int32_t y) const override {
    const auto maskAt = [this](int level, std::int32_t row, std::uint64_t word) {
      const std::uint64_t* found = masks_.Find(MaskKey(level, row, word));
      return found == nullptr ? std::uint64_t{0} : *found;
    };
    const std::int64_t column = OccupiedLeftOf(x, y, levels_, maskAt);
    return column < 0 ? -1 : Newest(static_cast<std::int32_t>(column), y);
  }

  bool SetNewest(std::int32_t x, std::int32_t y, std::int32_t node) override {
    std::uint64_t* newest = pixels_.FindOrInsert(PixelKey(x, y), kEmpty);
    if (newest == nullptr)
      return false;
    const bool wasEmpty = *newest == kEmpty;
    *newest = static_cast<std::uint64_t>(node);
    if (!wasEmpty)
      return true;
    std::uint64_t unit = static_cast<std::uint64_t>(x);
    for (int level = 0; level < levels_; ++level) {
      std::uint64_t* word = masks_.FindOrInsert(MaskKey(level, y, unit >> 6), 0);
      if (word == nullptr)
        return false;
      const bool wordWasEmpty = *word == 0;
      *word |= BitOf(unit);
      if (!wordWasEmpty)
        break;
      unit >>= 6;
    }
    return true;
  }

  void ClearPixel(std::int32_t x, std::int32_t y) override {
    pixels_.Erase(PixelKey(x, y));
    std::uint64_t unit = static_cast<std::uint64_t>(x);
    for (int level = 0; level < levels_; ++level) {
      const std::uint64_t key = MaskKey(level, y, unit >> 6);
      std::uint64_t* word = masks_.Find(key);
      if (word == nullptr)
        return;
      *word &= ~BitOf(unit);
      if (*word != 0)
        return;
      masks_.Erase(key);
      unit >>= 6;
    }
  }

  std::size_t MemoryBytes() const override { return pixels_.MemoryBytes() + masks_.MemoryBytes(); }

 private:
  static constexpr std::uint64_t kEmpty = ~std::uint64_t{0} - 1;

  // x and y are below 2^31; a mask word index below 2^25 (columns / 64).
  static std::uint64_t PixelKey(std::int32_t x, std::int32_t y) {
    return (std::uint64_t(y) << 31) | std::uint64_t(x);
  }
  static std::uint64_t MaskKey(int level, std::int32_t y, std::uint64_t word) {
    return (std::uint64_t(level) << 56) | (std::uint64_t(y) << 25) | word;
  }

  int levels_;
  WordHash pixels_;
  WordHash masks_;
};

}  // namespace

std::unique_ptr<PixelIndex> MakePixelIndex(std::int32_t width, std::int32_t height,
                                           PixelIndexKind kind) {
  if (width < 1 || height < 1 || kind == PixelIndexKind::kNone)
    return nullptr;
  if (kind == PixelIndexKind::kAuto) {
    const std::uint64_t pixels = std::uint64_t(width) * std::uint64_t(height);
    kind = pixels <= PixelIndex::kDenseMaxPixels ? PixelIndexKind::kDense : PixelIndexKind::kHashed;
  }
  if (kind == PixelIndexKind::kDense) {
    std::unique_ptr<DensePixelIndex> dense(new (std::nothrow) DensePixelIndex);
    if (dense && dense->Allocate(width, height))
      return dense;
    return nullptr;
  }
  return std::unique_ptr<PixelIndex>(new (std::nothrow) HashedPixelIndex(width));
}

}  // namespace zirvo
