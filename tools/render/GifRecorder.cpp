#include "render/GifRecorder.h"

#include <gif_lib.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace zirvo::tools {

namespace {

// Palette16 at indices 0..15, the transparent index after it; GIF colour tables
// come in powers of two.
constexpr int kTransparent = 16;
constexpr int kTableSize = 32;
// Never a COLORREF (whose top byte is 0): makes every pixel differ at first.
constexpr COLORREF kNothingShown = 0xFFFFFFFFu;
constexpr std::uint32_t kFinalHoldCs = 200;
constexpr std::uint32_t kLongestDelayCs = 65535;

int PaletteIndex(COLORREF colour) {
  for (std::size_t i = 0; i < Palette16.size(); ++i) {
    if (Palette16[i] == colour)
      return static_cast<int>(i);
  }
  return -1;
}

std::uint64_t Centiseconds(std::uint64_t us) {
  return (us + 5000) / 10000;
}

// giflib writes through this into the recorder's own stream.
int WriteToStream(GifFileType* gif, const GifByteType* bytes, int length) {
  auto* out = static_cast<std::FILE*>(gif->UserData);
  return static_cast<int>(std::fwrite(bytes, 1, static_cast<std::size_t>(length), out));
}

}  // namespace

GifRecorder::GifRecorder(const std::string& path, Picture& frame, double fps)
    : frame_(frame),
      fps_(fps),
      shown_(static_cast<std::size_t>(frame.Width()) * static_cast<std::size_t>(frame.Height()),
             kNothingShown) {
  // Opened here rather than by giflib, so the file gets the usual permissions.
  out_ = std::fopen(path.c_str(), "wb");
  if (out_ == nullptr) {
    error_ = std::string("cannot be created (") + std::strerror(errno) + ")";
    return;
  }
  int code = 0;
  gif_ = EGifOpen(out_, &WriteToStream, &code);
  if (gif_ == nullptr) {
    Fail("cannot be written", code);
    return;
  }
  EGifSetGifVersion(gif_, true);

  std::array<GifColorType, kTableSize> colours{};
  for (std::size_t i = 0; i < Palette16.size(); ++i) {
    colours[i] = GifColorType{RedOf(Palette16[i]), GreenOf(Palette16[i]), BlueOf(Palette16[i])};
  }
  ColorMapObject* map = GifMakeMapObject(kTableSize, colours.data());
  if (map == nullptr) {
    Fail("cannot be written", E_GIF_ERR_NOT_ENOUGH_MEM);
    return;
  }
  const int described = EGifPutScreenDesc(gif_, frame.Width(), frame.Height(), 8, 0, map);
  GifFreeMapObject(map);
  if (described == GIF_ERROR) {
    Fail("cannot be written", gif_->Error);
    return;
  }
  // Loop for ever.
  static const GifByteType kLoopName[] = {'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0'};
  static const GifByteType kLoopForever[] = {1, 0, 0};
  if (EGifPutExtensionLeader(gif_, APPLICATION_EXT_FUNC_CODE) == GIF_ERROR ||
      EGifPutExtensionBlock(gif_, sizeof kLoopName, kLoopName) == GIF_ERROR ||
      EGifPutExtensionBlock(gif_, sizeof kLoopForever, kLoopForever) == GIF_ERROR ||
      EGifPutExtensionTrailer(gif_) == GIF_ERROR) {
    Fail("cannot be written", gif_->Error);
  }
}

GifRecorder::~GifRecorder() {
  if (gif_ != nullptr)
    EGifCloseFile(gif_, nullptr);
  if (out_ != nullptr)
    std::fclose(out_);
}

void GifRecorder::Fail(const std::string& what, int code) {
  if (!error_.empty())
    return;
  error_ = what;
  if (const char* reason = GifErrorString(code))
    error_ += std::string(" (") + reason + ")";
}

std::uint64_t GifRecorder::PictureTime(std::uint64_t index) const {
  return static_cast<std::uint64_t>(std::llround(static_cast<double>(index) * 1e6 / fps_));
}

void GifRecorder::Capture() {
  TakePicture(nextAtUs_);
  ++nextIndex_;
  nextAtUs_ = PictureTime(nextIndex_);
}

void GifRecorder::TakePicture(std::uint64_t atUs) {
  if (first_) {
    // The first picture covers the whole screen.
    rows_.clear();
    for (std::int32_t y = 0; y < frame_.Height(); ++y)
      rows_.push_back(RowSpan{y, 0, frame_.Width()});
    frame_.TakeSetRows(scratch_);
    first_ = false;
  } else {
    frame_.TakeSetRows(rows_);
  }
  if (rows_.empty())
    return;
  const auto width = static_cast<std::size_t>(frame_.Width());
  auto offset = [width](std::int32_t x, std::int32_t y) {
    return static_cast<std::size_t>(y) * width + static_cast<std::size_t>(x);
  };

  // The pixels that really differ from what is shown may be fewer than those set.
  ChangedBox box;
  for (RowSpan& row : rows_) {
    std::int32_t left = row.right;
    std::int32_t right = row.left;
    for (std::int32_t x = row.left; x < row.right; ++x) {
      if (frame_.At(x, row.y) == shown_[offset(x, row.y)])
        continue;
      left = std::min(left, x);
      right = x + 1;
    }
    row.left = left;
    row.right = right;
    if (left >= right)
      continue;
    box.Add(left, row.y);
    box.Add(right - 1, row.y);
  }
  const Rect changed = box.Take();
  if (changed.Empty())
    return;

  // The picture before this one now knows how long it stays.
  if (hasPending_)
    WritePending(atUs, 0);
  if (!Ok())
    return;

  Still picture;
  picture.area = changed;
  picture.atUs = atUs;
  const auto pictureWidth = static_cast<std::size_t>(changed.width);
  picture.indices.assign(pictureWidth * static_cast<std::size_t>(changed.height), kTransparent);
  for (const RowSpan& row : rows_) {
    for (std::int32_t x = row.left; x < row.right; ++x) {
      const COLORREF colour = frame_.At(x, row.y);
      COLORREF& shown = shown_[offset(x, row.y)];
      if (colour == shown)
        continue;
      const int index = PaletteIndex(colour);
      if (index < 0) {
        error_ = "cannot hold a colour outside the 16-colour palette";
        return;
      }
      picture.indices[static_cast<std::size_t>(row.y - changed.y) * pictureWidth +
                      static_cast<std::size_t>(x - changed.x)] = static_cast<std::uint8_t>(index);
      shown = colour;
    }
  }
  pending_ = std::move(picture);
  hasPending_ = true;
}

void GifRecorder::WritePending(std::uint64_t untilUs, std::uint32_t holdCs) {
  hasPending_ = false;
  const std::uint64_t shownCs = Centiseconds(untilUs) - Centiseconds(pending_.atUs);
  std::uint64_t delayCs = std::max<std::uint64_t>(shownCs + holdCs, 1);
  if (!WriteImage(pending_.area, pending_.indices.data(),
                  static_cast<std::uint32_t>(std::min<std::uint64_t>(delayCs, kLongestDelayCs)))) {
    return;
  }
  // A GIF delay holds at most 655.35 s: the rest of a long still stretch is
  // carried by transparent one-pixel pictures.
  std::uint8_t nothing = kTransparent;
  for (delayCs -= std::min<std::uint64_t>(delayCs, kLongestDelayCs); delayCs > 0;) {
    const auto part = static_cast<std::uint32_t>(std::min<std::uint64_t>(delayCs, kLongestDelayCs));
    if (!WriteImage(Rect{0, 0, 1, 1}, &nothing, part))
      return;
    delayCs -= part;
  }
}

bool GifRecorder::WriteImage(const Rect& area, std::uint8_t* indices, std::uint32_t delayCs) {
  GraphicsControlBlock control{};
  control.DisposalMode = DISPOSE_DO_NOT;
  control.UserInputFlag = false;
  control.DelayTime = static_cast<int>(delayCs);
  control.TransparentColor = kTransparent;
  GifByteType extension[4];
  const auto length = EGifGCBToExtension(&control, extension);
  if (EGifPutExtension(gif_, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length), extension) ==
          GIF_ERROR ||
      EGifPutImageDesc(gif_, area.x, area.y, area.width, area.height, false, nullptr) ==
          GIF_ERROR ||
      EGifPutLine(gif_, indices, area.width * area.height) == GIF_ERROR) {
    Fail("cannot be written", gif_->Error);
    return false;
  }
  ++written_;
  return true;
}

bool GifRecorder::Finish(std::uint64_t endUs) {
  if (gif_ == nullptr) {
    if (Ok())
      error_ = "cannot be written";
    return false;
  }
  // The final picture: what the screen shows at the end, however recent.
  if (Ok())
    TakePicture(endUs);
  if (Ok() && hasPending_)
    WritePending(endUs, kFinalHoldCs);
  int code = 0;
  const int closed = EGifCloseFile(gif_, &code);
  gif_ = nullptr;
  if (closed == GIF_ERROR)
    Fail("cannot be written", code);
  const bool flushed = std::fclose(out_) == 0;
  out_ = nullptr;
  if (!flushed && Ok())
    error_ = "cannot be written";
  return Ok();
}

}  // namespace zirvo::tools
