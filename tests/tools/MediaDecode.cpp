#include "MediaDecode.h"

#include "ToolRun.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/pixdesc.h>
#include <libswscale/swscale.h>
}
#include <webp/demux.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <memory>

namespace zirvo::testing {

namespace {

std::uint32_t Rgb(const std::uint8_t* p) {
  return (std::uint32_t{p[0]} << 16) | (std::uint32_t{p[1]} << 8) | p[2];
}

}  // namespace

WebpAnimation DecodeWebp(const std::string& path) {
  WebpAnimation animation;
  const std::string bytes = ReadFile(path);
  WebPData data{reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()};
  WebPAnimDecoderOptions options;
  if (!WebPAnimDecoderOptionsInit(&options))
    return animation;
  options.color_mode = MODE_RGBA;
  options.use_threads = 0;
  WebPAnimDecoder* decoder = WebPAnimDecoderNew(&data, &options);
  if (decoder == nullptr)
    return animation;
  WebPAnimInfo info;
  if (WebPAnimDecoderGetInfo(decoder, &info)) {
    animation.width = static_cast<int>(info.canvas_width);
    animation.height = static_cast<int>(info.canvas_height);
    animation.loopCount = static_cast<int>(info.loop_count);
  }
  while (WebPAnimDecoderHasMoreFrames(decoder)) {
    std::uint8_t* rgba = nullptr;
    int endMs = 0;
    if (!WebPAnimDecoderGetNext(decoder, &rgba, &endMs)) {
      animation.frames.clear();
      break;
    }
    Picture picture{animation.width, animation.height, {}};
    const std::size_t count =
        static_cast<std::size_t>(animation.width) * static_cast<std::size_t>(animation.height);
    picture.pixels.resize(count);
    for (std::size_t i = 0; i < count; ++i)
      picture.pixels[i] = Rgb(rgba + i * 4);
    animation.frames.push_back(std::move(picture));
    animation.endsMs.push_back(endMs);
  }
  WebPAnimDecoderDelete(decoder);
  return animation;
}

const Picture& WebpAt(const WebpAnimation& animation, int ms) {
  for (std::size_t i = 0; i < animation.frames.size(); ++i) {
    if (ms < animation.endsMs[i])
      return animation.frames[i];
  }
  return animation.frames.back();
}

Video DecodeVideo(const std::string& path) {
  Video video;
  AVFormatContext* format = nullptr;
  if (avformat_open_input(&format, path.c_str(), nullptr, nullptr) < 0)
    return video;
  std::unique_ptr<AVFormatContext*, void (*)(AVFormatContext**)> closeFormat(&format,
                                                                             &avformat_close_input);
  if (avformat_find_stream_info(format, nullptr) < 0)
    return video;
  const int index = av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
  if (index < 0)
    return video;
  const AVStream* stream = format->streams[index];
  const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
  if (codec == nullptr)
    return video;
  AVCodecContext* decoder = avcodec_alloc_context3(codec);
  std::unique_ptr<AVCodecContext*, void (*)(AVCodecContext**)> freeDecoder(&decoder,
                                                                           &avcodec_free_context);
  if (avcodec_parameters_to_context(decoder, stream->codecpar) < 0 ||
      avcodec_open2(decoder, codec, nullptr) < 0)
    return video;

  video.container = format->iformat->name;
  video.codec = avcodec_get_name(stream->codecpar->codec_id);
  const char* pixelFormat =
      av_get_pix_fmt_name(static_cast<AVPixelFormat>(stream->codecpar->format));
  video.pixelFormat = pixelFormat != nullptr ? pixelFormat : "";
  video.width = stream->codecpar->width;
  video.height = stream->codecpar->height;
  video.rateNum = stream->avg_frame_rate.num;
  video.rateDen = stream->avg_frame_rate.den;
  video.durationSeconds =
      format->duration == AV_NOPTS_VALUE ? 0 : static_cast<double>(format->duration) / AV_TIME_BASE;

  AVPacket* packet = av_packet_alloc();
  AVFrame* frame = av_frame_alloc();
  SwsContext* toRgb = nullptr;
  std::vector<std::uint8_t> rgb(static_cast<std::size_t>(video.width) *
                                static_cast<std::size_t>(video.height) * 3);
  auto take = [&] {
    while (avcodec_receive_frame(decoder, frame) == 0) {
      if (toRgb == nullptr) {
        toRgb = sws_getContext(
            frame->width, frame->height, static_cast<AVPixelFormat>(frame->format), frame->width,
            frame->height, AV_PIX_FMT_RGB24, SWS_BICUBIC | SWS_ACCURATE_RND | SWS_FULL_CHR_H_INT,
            nullptr, nullptr, nullptr);
        sws_setColorspaceDetails(toRgb, sws_getCoefficients(SWS_CS_ITU709), 0,
                                 sws_getCoefficients(SWS_CS_DEFAULT), 1, 0, 1 << 16, 1 << 16);
      }
      std::uint8_t* const planes[1] = {rgb.data()};
      const int strides[1] = {video.width * 3};
      sws_scale(toRgb, frame->data, frame->linesize, 0, frame->height, planes, strides);
      Picture picture{video.width, video.height, {}};
      for (std::size_t at = 0; at < rgb.size(); at += 3)
        picture.pixels.push_back(Rgb(&rgb[at]));
      video.frames.push_back(std::move(picture));
      const std::int64_t pts = frame->best_effort_timestamp;
      video.frameSeconds.push_back(static_cast<double>(pts) * av_q2d(stream->time_base));
    }
  };
  while (av_read_frame(format, packet) >= 0) {
    if (packet->stream_index == index && avcodec_send_packet(decoder, packet) >= 0)
      take();
    av_packet_unref(packet);
  }
  avcodec_send_packet(decoder, nullptr);
  take();
  sws_freeContext(toRgb);
  av_frame_free(&frame);
  av_packet_free(&packet);
  return video;
}

std::vector<Picture> ReadRawFrames(const std::string& path, int width, int height,
                                   std::size_t* leftOver) {
  const std::string bytes = ReadFile(path);
  const std::size_t frameBytes =
      static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3;
  std::vector<Picture> frames;
  std::size_t at = 0;
  for (; at + frameBytes <= bytes.size(); at += frameBytes) {
    Picture picture{width, height, {}};
    picture.pixels.reserve(frameBytes / 3);
    for (std::size_t i = at; i < at + frameBytes; i += 3)
      picture.pixels.push_back(Rgb(reinterpret_cast<const std::uint8_t*>(bytes.data()) + i));
    frames.push_back(std::move(picture));
  }
  if (leftOver != nullptr)
    *leftOver = bytes.size() - at;
  return frames;
}

namespace {

template <typename PerChannel>
void EachChannel(const Picture& exact, const Picture& other, PerChannel per) {
  for (int y = 0; y < exact.height; ++y) {
    for (int x = 0; x < exact.width; ++x) {
      const std::uint32_t a = exact.At(x, y);
      const std::uint32_t b = other.At(x, y);
      for (int shift = 0; shift <= 16; shift += 8)
        per(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF));
    }
  }
}

}  // namespace

double Psnr(const Picture& exact, const Picture& other) {
  double squares = 0;
  std::size_t count = 0;
  EachChannel(exact, other, [&](int difference) {
    squares += difference * difference;
    ++count;
  });
  if (squares == 0)
    return std::numeric_limits<double>::infinity();
  return 10.0 * std::log10(255.0 * 255.0 * static_cast<double>(count) / squares);
}

double LumaPsnr(const Picture& exact, const Picture& other) {
  auto luma = [](std::uint32_t c) {
    return 0.2126 * ((c >> 16) & 0xFF) + 0.7152 * ((c >> 8) & 0xFF) + 0.0722 * (c & 0xFF);
  };
  double squares = 0;
  for (int y = 0; y < exact.height; ++y) {
    for (int x = 0; x < exact.width; ++x) {
      const double difference = luma(exact.At(x, y)) - luma(other.At(x, y));
      squares += difference * difference;
    }
  }
  if (squares == 0)
    return std::numeric_limits<double>::infinity();
  const double count = static_cast<double>(exact.width) * exact.height;
  return 10.0 * std::log10(255.0 * 255.0 * count / squares);
}

int LargestDifference(const Picture& exact, const Picture& other) {
  int largest = 0;
  EachChannel(exact, other,
              [&](int difference) { largest = std::max(largest, std::abs(difference)); });
  return largest;
}

}  // namespace zirvo::testing
