#include "render/WebpWriter.h"

#include <webp/encode.h>
#include <webp/mux.h>

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace zirvo::tools {

namespace {

constexpr int kFinalHoldMs = 2000;
// libwebp's lossless effort, 0 to 9: the screens are mostly black with few
// colours, which the cheapest levels already pack well; higher levels cost
// far more time than they save bytes.
constexpr int kLosslessLevel = 1;

}  // namespace

WebpWriter::WebpWriter(std::string name, std::int32_t width, std::int32_t height, double fps,
                       std::uint64_t lengthUs)
    : name_(std::move(name)), file_(name_), fps_(fps) {
  if (width > kLargestSide || height > kLargestSide) {
    error_ = "cannot hold a screen wider or taller than 16383 pixels";
    return;
  }
  if (static_cast<double>(lengthUs) / 1000.0 + kFinalHoldMs + 1000.0 / fps >= INT_MAX) {
    error_ = "cannot hold an animation longer than 24 days";
    return;
  }
  if (!file_.Ok()) {
    error_ = file_.Error();
    return;
  }
  WebPAnimEncoderOptions options;
  if (!WebPAnimEncoderOptionsInit(&options)) {
    error_ = "cannot be written (this libwebp does not match the one zirvo-render was built with)";
    return;
  }
  options.anim_params.loop_count = 0;
  options.anim_params.bgcolor = 0xFF000000u;  // opaque black, as the screen starts
  options.allow_mixed = 0;
  options.minimize_size = 0;
  encoder_ = WebPAnimEncoderNew(width, height, &options);
  if (encoder_ == nullptr)
    error_ = "cannot be written (libwebp refused the size or ran out of memory)";
}

WebpWriter::~WebpWriter() {
  if (encoder_ != nullptr)
    WebPAnimEncoderDelete(encoder_);
}

int WebpWriter::TimestampMs(std::uint64_t frame) const {
  return static_cast<int>(std::llround(static_cast<double>(frame) * 1000.0 / fps_));
}

bool WebpWriter::Add(const RgbImage& image) {
  if (!error_.empty())
    return false;
  WebPConfig config;
  WebPPicture picture;
  if (!WebPConfigInit(&config) || !WebPConfigLosslessPreset(&config, kLosslessLevel) ||
      !WebPPictureInit(&picture)) {
    error_ = "cannot be written (libwebp could not be set up)";
    return false;
  }
  config.thread_level = 1;
  picture.use_argb = 1;
  picture.width = image.width;
  picture.height = image.height;
  bool added = WebPPictureImportRGB(&picture, image.rgb, image.width * 3) != 0 &&
               WebPAnimEncoderAdd(encoder_, &picture, TimestampMs(added_), &config) != 0;
  WebPPictureFree(&picture);
  if (!added) {
    const char* reason = WebPAnimEncoderGetError(encoder_);
    error_ = std::string("cannot be written (") +
             (reason != nullptr && *reason != '\0' ? reason : "out of memory") + ")";
    return false;
  }
  ++added_;
  return true;
}

bool WebpWriter::Finish() {
  if (!error_.empty())
    return false;
  WebPData data;
  WebPDataInit(&data);
  if (WebPAnimEncoderAdd(encoder_, nullptr, TimestampMs(added_) + kFinalHoldMs, nullptr) == 0 ||
      WebPAnimEncoderAssemble(encoder_, &data) == 0) {
    const char* reason = WebPAnimEncoderGetError(encoder_);
    error_ = std::string("cannot be written (") +
             (reason != nullptr && *reason != '\0' ? reason : "out of memory") + ")";
    WebPDataClear(&data);
    return false;
  }
  std::FILE* out = std::fopen(file_.Path().c_str(), "wb");
  bool written = out != nullptr && std::fwrite(data.bytes, 1, data.size, out) == data.size;
  const int error = errno;
  if (out != nullptr && std::fclose(out) != 0)
    written = false;
  WebPDataClear(&data);
  if (!written) {
    error_ = std::string("cannot be written (") + std::strerror(error) + ")";
    return false;
  }
  if (!file_.Commit()) {
    error_ = file_.Error();
    return false;
  }
  return true;
}

}  // namespace zirvo::tools
