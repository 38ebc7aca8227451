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
std::uint64_t BitsAbove(std::uint64_t unit) {
  return ~(BitsBelow(unit) | BitOf(unit));
}
std::uint64_t HighestBit(std::uint64_t word) {
  return 63 - static_cast<std::uint64_t>(std::countl_zero(word));
}
std::uint64_t LowestBit(std::uint64_t word) {
  return static_cast<std::uint64_t>(std::countr_zero(word));
}

// The nearest occupied column of row y on one side of x, or -1. `maskAt(level,
// y, word)` reads a mask word (0 when absent). At level l a unit is a run of
// 64^l columns: climb until a word has an occupied unit on that side of ours,
// then descend through the nearest bits.
template <bool kLeft, typename MaskAt>
std::int64_t OccupiedBeside(std::int32_t x, std::int32_t y, int levels, const MaskAt& maskAt) {
  std::uint64_t unit = static_cast<std::uint64_t>(x);
  for (int level = 0; level < levels; ++level) {
    const std::uint64_t word = unit >> 6;
    const std::uint64_t side = maskAt(level, y, word) & (kLeft ? BitsBelow(unit) : BitsAbove(unit));
    if (side != 0) {
      unit = (word << 6) | (kLeft ? HighestBit(side) : LowestBit(side));
      for (int down = level - 1; down >= 0; --down) {
        const std::uint64_t below = maskAt(down, y, unit);
        unit = (unit << 6) | (kLeft ? HighestBit(below) : LowestBit(below));
      }
      return static_cast<std::int64_t>(unit);
    }
    unit = word;
  }
  return -1;
}

// Sets or clears the bit of column x at every level where that changes a word.
// `wordAt(level, y, word)` gives the word to change (null: no memory); `emptied`
// is told of a word that became 0.
template <typename WordAt, typename Emptied>
bool MarkColumn(std::int32_t x, std::int32_t y, int levels, bool occupied, const WordAt& wordAt,
                const Emptied& emptied) {
  std::uint64_t unit = static_cast<std::uint64_t>(x);
  for (int level = 0; level < levels; ++level) {
    std::uint64_t* word = wordAt(level, y, unit >> 6);
    if (word == nullptr)
      return false;
    const bool wasEmpty = *word == 0;
    if (occupied) {
      *word |= BitOf(unit);
      if (!wasEmpty)
        break;  // the levels above already know this word
    } else {
      *word &= ~BitOf(unit);
      if (*word != 0)
        break;
      emptied(level, y, unit >> 6);
    }
    unit >>= 6;
  }
  return true;
}

class DensePixelIndex final : public PixelIndex {
 public:
  bool Allocate(std::int32_t width, std::int32_t height) {
    width_ = width;
    height_ = height;
    levels_ = LevelsFor(width);
    const std::uint64_t pixels = std::uint64_t(width) * std::uint64_t(height);
    if (pixels > SIZE_MAX / sizeof(PixelRun))
      return false;
    runs_.reset(new (std::nothrow) PixelRun[pixels]);
    if (!runs_)
      return false;
    bytes_ = pixels * sizeof(PixelRun);
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

  PixelRun RunAt(std::int32_t x, std::int32_t y) const override { return runs_[PixelAt(x, y)]; }

  RowPlace PlaceFor(std::int32_t x, std::int32_t y) const override {
    const auto maskAt = [this](int level, std::int32_t row, std::uint64_t word) {
      return Word(level, row, word);
    };
    RowPlace place;
    // The mask word is small and mostly cached; the runs are not, so look at a
    // run only where the masks say there is one.
    if ((Word(0, y, std::uint64_t(x) >> 6) & BitOf(std::uint64_t(x))) != 0) {
      place.after = runs_[PixelAt(x, y)].newest;
    } else {
      const std::int64_t left = OccupiedBeside<true>(x, y, levels_, maskAt);
      if (left >= 0)
        place.after = runs_[PixelAt(static_cast<std::int32_t>(left), y)].newest;
    }
    const std::int64_t right = OccupiedBeside<false>(x, y, levels_, maskAt);
    if (right >= 0)
      place.before = runs_[PixelAt(static_cast<std::int32_t>(right), y)].oldest;
    return place;
  }

  bool SetRun(std::int32_t x, std::int32_t y, PixelRun run) override {
    PixelRun& here = runs_[PixelAt(x, y)];
    const bool changes = here.IsEmpty() != run.IsEmpty();
    here = run;
    if (!changes)
      return true;
    const auto wordAt = [this](int level, std::int32_t row, std::uint64_t word) {
      return &Word(level, row, word);
    };
    return MarkColumn(x, y, levels_, !run.IsEmpty(), wordAt,
                      [](int, std::int32_t, std::uint64_t) {});
  }

  void Prefetch(std::int32_t x, std::int32_t y) const override {
    __builtin_prefetch(&runs_[PixelAt(x, y)], 1);
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
  std::int32_t height_ = 0;
  int levels_ = 0;
  std::unique_ptr<PixelRun[]> runs_;
  std::unique_ptr<std::uint64_t[]> masks_[kMaxLevels];
  std::uint64_t rowWords_[kMaxLevels] = {};
  std::size_t bytes_ = 0;
};

class HashedPixelIndex final : public PixelIndex {
 public:
  explicit HashedPixelIndex(std::int32_t width) : levels_(LevelsFor(width)) {}

  PixelRun RunAt(std::int32_t x, std::int32_t y) const override {
    const std::uint64_t* run = pixels_.Find(PixelKey(x, y));
    return run == nullptr ? PixelRun{} : Unpack(*run);
  }

  RowPlace PlaceFor(std::int32_t x, std::int32_t y) const override {
    const auto maskAt = [this](int level, std::int32_t row, std::uint64_t word) {
      const std::uint64_t* found = masks_.Find(MaskKey(level, row, word));
      return found == nullptr ? std::uint64_t{0} : *found;
    };
    RowPlace place;
    place.after = RunAt(x, y).newest;
    if (place.after < 0) {
      const std::int64_t left = OccupiedBeside<true>(x, y, levels_, maskAt);
      if (left >= 0)
        place.after = RunAt(static_cast<std::int32_t>(left), y).newest;
    }
    const std::int64_t right = OccupiedBeside<false>(x, y, levels_, maskAt);
    if (right >= 0)
      place.before = RunAt(static_cast<std::int32_t>(right), y).oldest;
    return place;
  }

  bool SetRun(std::int32_t x, std::int32_t y, PixelRun run) override {
    const std::uint64_t key = PixelKey(x, y);
    bool changes;
    if (run.IsEmpty()) {
      changes = pixels_.Find(key) != nullptr;
      pixels_.Erase(key);
    } else {
      std::uint64_t* here = pixels_.FindOrInsert(key, kAbsent);
      if (here == nullptr)
        return false;
      changes = *here == kAbsent;
      *here = Pack(run);
    }
    if (!changes)
      return true;
    const auto wordAt = [this](int level, std::int32_t row, std::uint64_t word) {
      return masks_.FindOrInsert(MaskKey(level, row, word), 0);
    };
    const auto emptied = [this](int level, std::int32_t row, std::uint64_t word) {
      masks_.Erase(MaskKey(level, row, word));
    };
    return MarkColumn(x, y, levels_, !run.IsEmpty(), wordAt, emptied);
  }

  void Prefetch(std::int32_t, std::int32_t) const override {}

  std::size_t MemoryBytes() const override { return pixels_.MemoryBytes() + masks_.MemoryBytes(); }

 private:
  static constexpr std::uint64_t kAbsent = ~std::uint64_t{0} - 1;

  static std::uint64_t Pack(PixelRun run) {
    return (std::uint64_t(std::uint32_t(run.oldest)) << 32) | std::uint32_t(run.newest);
  }
  static PixelRun Unpack(std::uint64_t value) {
    return PixelRun{static_cast<std::int32_t>(value >> 32),
                    static_cast<std::int32_t>(value & 0xFFFFFFFFu)};
  }
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
