// A video through FFmpeg's libraries: WebM with VP9 or MP4 with H.264, chosen
// by the file's extension. Frame k has the presentation time k/fps exactly
// (the stream's time base is 1/fps), every frame is kept, and the video lasts
// frames/fps seconds. The pixels go to YUV (BT.709, limited range): 4:2:0 as
// every player expects, where four pixels share one colour (H.264 then needs
// even sides, so an odd width or height gets one black column or row more), or
// 4:4:4, each pixel its own. Written through a PartialFile.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "render/FrameWriter.h"
#include "render/PartialFile.h"

struct AVCodecContext;
struct AVFormatContext;
struct AVFrame;
struct AVPacket;
struct AVStream;
struct SwsContext;

namespace zirvo::tools {

enum class VideoCodec { kVp9, kH264 };

// ".webm" (VP9) or ".mp4" (H.264), in any case; nothing for other names.
std::optional<VideoCodec> VideoCodecFor(const std::string& path);

class VideoWriter final : public FrameWriter {
 public:
  // `quality`: 0 (smallest) to 100 (best), mapped onto the codec's constant
  // quality scale. `fullChroma`: 4:4:4 rather than 4:2:0.
  VideoWriter(std::string name, VideoCodec codec, std::int32_t width, std::int32_t height,
              double fps, int quality, bool fullChroma);
  ~VideoWriter() override;
  VideoWriter(const VideoWriter&) = delete;
  VideoWriter& operator=(const VideoWriter&) = delete;

  // Ready for frames: Ok(); else Error() says why.
  bool Ok() const { return error_.empty(); }

  bool Add(const RgbImage& image) override;
  bool Finish() override;
  const std::string& Name() const override { return name_; }
  const std::string& Error() const override { return error_; }

  // The codec's constant-quality value (CRF) for `quality`.
  static int CrfFor(VideoCodec codec, int quality);

 private:
  bool Open(VideoCodec codec, std::int32_t width, std::int32_t height, double fps, int quality,
            bool fullChroma);
  bool Encode(const AVFrame* frame);
  void Fail(const char* what, int code);

  std::string name_;
  PartialFile file_;
  AVFormatContext* format_ = nullptr;
  AVCodecContext* encoder_ = nullptr;
  AVStream* stream_ = nullptr;
  SwsContext* scaler_ = nullptr;
  AVFrame* picture_ = nullptr;
  AVPacket* packet_ = nullptr;
  std::int32_t width_ = 0;
  std::int32_t height_ = 0;
  std::int64_t nextPts_ = 0;
  std::string error_;
};

}  // namespace zirvo::tools
