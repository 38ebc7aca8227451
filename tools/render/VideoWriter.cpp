#include "render/VideoWriter.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>

namespace zirvo::tools {

namespace {

constexpr std::uint8_t kBlackLuma = 16;  // limited range
constexpr double kSecondsPerKeyFrame = 5.0;

bool EndsWith(const std::string& text, const char* ending) {
  const std::size_t length = std::strlen(ending);
  if (text.size() < length)
    return false;
  return std::equal(
      text.end() - static_cast<std::ptrdiff_t>(length), text.end(), ending,
      [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; });
}

std::string Reason(int code) {
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(code, text, sizeof text);
  return text;
}

}  // namespace

std::optional<VideoCodec> VideoCodecFor(const std::string& path) {
  if (EndsWith(path, ".webm"))
    return VideoCodec::kVp9;
  if (EndsWith(path, ".mp4"))
    return VideoCodec::kH264;
  return std::nullopt;
}

int VideoWriter::CrfFor(VideoCodec codec, int quality) {
  // VP9's scale runs 0 to 63, H.264's 0 to 51; both best at 0.
  const int worst = codec == VideoCodec::kVp9 ? 63 : 51;
  return static_cast<int>(std::lround(worst * (100 - std::clamp(quality, 0, 100)) / 100.0));
}

VideoWriter::VideoWriter(std::string name, VideoCodec codec, std::int32_t width,
                         std::int32_t height, double fps, int quality, bool fullChroma)
    : name_(std::move(name)), file_(name_), width_(width), height_(height) {
  if (!file_.Ok()) {
    error_ = file_.Error();
    return;
  }
  // The libraries' own messages would not name the file: errors are told here.
  av_log_set_level(AV_LOG_QUIET);
  Open(codec, width, height, fps, quality, fullChroma);
}

void VideoWriter::Fail(const char* what, int code) {
  if (!error_.empty())
    return;
  error_ = what;
  if (code < 0)
    error_ += " (" + Reason(code) + ")";
}

bool VideoWriter::Open(VideoCodec codec, std::int32_t width, std::int32_t height, double fps,
                       int quality, bool fullChroma) {
  const bool vp9 = codec == VideoCodec::kVp9;
  const char* encoderName = vp9 ? "libvpx-vp9" : "libx264";
  const AVCodec* encoder = avcodec_find_encoder_by_name(encoderName);
  if (encoder == nullptr) {
    error_ = std::string("cannot be written (this FFmpeg has no ") + encoderName + " encoder)";
    return false;
  }
  int code =
      avformat_alloc_output_context2(&format_, nullptr, vp9 ? "webm" : "mp4", file_.Path().c_str());
  if (code < 0 || format_ == nullptr) {
    Fail("cannot be written", code);
    return false;
  }
  stream_ = avformat_new_stream(format_, nullptr);
  encoder_ = avcodec_alloc_context3(encoder);
  picture_ = av_frame_alloc();
  packet_ = av_packet_alloc();
  if (stream_ == nullptr || encoder_ == nullptr || picture_ == nullptr || packet_ == nullptr) {
    Fail("cannot be written", AVERROR(ENOMEM));
    return false;
  }

  const AVRational rate = av_d2q(fps, 100000);
  const AVPixelFormat pixels = fullChroma ? AV_PIX_FMT_YUV444P : AV_PIX_FMT_YUV420P;
  // H.264's 4:2:0 wants even sides; VP9 and 4:4:4 take any.
  const bool even = !vp9 && !fullChroma;
  const std::int32_t codedWidth = even ? width + (width & 1) : width;
  const std::int32_t codedHeight = even ? height + (height & 1) : height;
  encoder_->width = codedWidth;
  encoder_->height = codedHeight;
  encoder_->pix_fmt = pixels;
  encoder_->time_base = av_inv_q(rate);
  encoder_->framerate = rate;
  encoder_->gop_size = std::max(1, static_cast<int>(std::lround(fps * kSecondsPerKeyFrame)));
  encoder_->color_range = AVCOL_RANGE_MPEG;
  encoder_->colorspace = AVCOL_SPC_BT709;
  encoder_->color_primaries = AVCOL_PRI_BT709;
  encoder_->color_trc = AVCOL_TRC_BT709;
  encoder_->thread_count = 0;  // as many as the machine has
  if ((format_->oformat->flags & AVFMT_GLOBALHEADER) != 0)
    encoder_->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;

  const std::string crf = std::to_string(CrfFor(codec, quality));
  AVDictionary* options = nullptr;
  av_dict_set(&options, "crf", crf.c_str(), 0);
  if (vp9) {
    // Constant quality with no bit rate cap. libvpx's "good" deadline is
    // some ten times slower than real time even at its fastest here; the
    // real-time one at its fastest is faster than real time at 1024x768.
    encoder_->bit_rate = 0;
    av_dict_set(&options, "deadline", "realtime", 0);
    av_dict_set(&options, "cpu-used", "8", 0);
    av_dict_set(&options, "row-mt", "1", 0);
  } else {
    // Twice as fast as "medium" and no bigger on these mostly black screens.
    av_dict_set(&options, "preset", "veryfast", 0);
  }
  code = avcodec_open2(encoder_, encoder, &options);
  av_dict_free(&options);
  if (code < 0) {
    Fail("cannot be encoded at this size and rate", code);
    return false;
  }
  code = avcodec_parameters_from_context(stream_->codecpar, encoder_);
  if (code < 0) {
    Fail("cannot be written", code);
    return false;
  }
  stream_->time_base = encoder_->time_base;
  stream_->avg_frame_rate = rate;
  stream_->r_frame_rate = rate;

  picture_->format = pixels;
  picture_->width = codedWidth;
  picture_->height = codedHeight;
  code = av_frame_get_buffer(picture_, 0);
  if (code < 0) {
    Fail("cannot be written", code);
    return false;
  }
  scaler_ = sws_getContext(width, height, AV_PIX_FMT_RGB24, width, height, pixels,
                           SWS_BICUBIC | SWS_ACCURATE_RND | SWS_FULL_CHR_H_INP, nullptr, nullptr,
                           nullptr);
  if (scaler_ == nullptr) {
    Fail("cannot be written (no conversion to YUV)", 0);
    return false;
  }
  sws_setColorspaceDetails(scaler_, sws_getCoefficients(SWS_CS_DEFAULT), 1,
                           sws_getCoefficients(SWS_CS_ITU709), 0, 0, 1 << 16, 1 << 16);

  code = avio_open(&format_->pb, file_.Path().c_str(), AVIO_FLAG_WRITE);
  if (code < 0) {
    Fail("cannot be created", code);
    return false;
  }
  AVDictionary* muxing = nullptr;
  if (!vp9)
    av_dict_set(&muxing, "movflags", "+faststart", 0);  // playable while it downloads
  code = avformat_write_header(format_, &muxing);
  av_dict_free(&muxing);
  if (code < 0) {
    Fail("cannot be written", code);
    return false;
  }
  return true;
}

VideoWriter::~VideoWriter() {
  if (format_ != nullptr) {
    if (format_->pb != nullptr)
      avio_closep(&format_->pb);
    avformat_free_context(format_);
  }
  avcodec_free_context(&encoder_);
  sws_freeContext(scaler_);
  av_frame_free(&picture_);
  av_packet_free(&packet_);
}

bool VideoWriter::Add(const RgbImage& image) {
  if (!error_.empty())
    return false;
  int code = av_frame_make_writable(picture_);
  if (code < 0) {
    Fail("cannot be written", code);
    return false;
  }
  const std::uint8_t* const source[1] = {image.rgb};
  const int sourceStride[1] = {image.width * 3};
  sws_scale(scaler_, source, sourceStride, 0, image.height, picture_->data, picture_->linesize);
  // The extra column or row that H.264 needs stays black.
  if (picture_->width > width_) {
    for (std::int32_t y = 0; y < picture_->height; ++y)
      picture_->data[0][static_cast<std::ptrdiff_t>(y) * picture_->linesize[0] + width_] =
          kBlackLuma;
  }
  if (picture_->height > height_) {
    std::memset(picture_->data[0] + static_cast<std::ptrdiff_t>(height_) * picture_->linesize[0],
                kBlackLuma, static_cast<std::size_t>(picture_->width));
  }
  picture_->pts = nextPts_++;
  return Encode(picture_);
}

bool VideoWriter::Encode(const AVFrame* frame) {
  int code = avcodec_send_frame(encoder_, frame);
  if (code < 0) {
    Fail("cannot be encoded", code);
    return false;
  }
  for (;;) {
    code = avcodec_receive_packet(encoder_, packet_);
    if (code == AVERROR(EAGAIN) || code == AVERROR_EOF)
      return true;
    if (code < 0) {
      Fail("cannot be encoded", code);
      return false;
    }
    if (packet_->duration == 0)
      packet_->duration = 1;  // one frame, in the encoder's time base
    av_packet_rescale_ts(packet_, encoder_->time_base, stream_->time_base);
    packet_->stream_index = stream_->index;
    code = av_interleaved_write_frame(format_, packet_);
    if (code < 0) {
      Fail("cannot be written", code);
      return false;
    }
  }
}

bool VideoWriter::Finish() {
  if (!error_.empty())
    return false;
  if (!Encode(nullptr))
    return false;
  int code = av_write_trailer(format_);
  if (code < 0) {
    Fail("cannot be written", code);
    return false;
  }
  code = avio_closep(&format_->pb);
  if (code < 0) {
    Fail("cannot be written", code);
    return false;
  }
  if (!file_.Commit()) {
    error_ = file_.Error();
    return false;
  }
  return true;
}

}  // namespace zirvo::tools
