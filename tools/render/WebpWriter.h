// An animated, lossless WebP through libwebp's animation encoder: frame k
// shown from k/fps seconds for 1/fps (a frame that repeats the one before
// lengthens it), the last one held two seconds longer, looping for ever, as
// the GIF does. The show's pixels survive exactly. The whole animation is
// assembled in memory and written at the end, through a PartialFile.
#pragma once

#include <cstdint>
#include <string>

#include "render/FrameWriter.h"
#include "render/PartialFile.h"

struct WebPAnimEncoder;

namespace zirvo::tools {

class WebpWriter final : public FrameWriter {
 public:
  // `lengthUs`: the longest the animation may run, to refuse up front one
  // whose times a WebP cannot hold.
  WebpWriter(std::string name, std::int32_t width, std::int32_t height, double fps,
             std::uint64_t lengthUs);
  ~WebpWriter() override;
  WebpWriter(const WebpWriter&) = delete;
  WebpWriter& operator=(const WebpWriter&) = delete;

  // Ready for frames: Ok(); else Error() says why.
  bool Ok() const { return error_.empty(); }

  bool Add(const RgbImage& image) override;
  bool Finish() override;
  const std::string& Name() const override { return name_; }
  const std::string& Error() const override { return error_; }

  // A WebP's largest side.
  static constexpr std::int32_t kLargestSide = 16383;

 private:
  int TimestampMs(std::uint64_t frame) const;

  std::string name_;
  PartialFile file_;
  double fps_;
  WebPAnimEncoder* encoder_ = nullptr;
  std::uint64_t added_ = 0;
  std::string error_;
};

}  // namespace zirvo::tools
