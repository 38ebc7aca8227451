// Raw frames for any other program: every frame's pixels as they are, three
// bytes a pixel (red, green, blue), rows top to bottom, no header and nothing
// between frames. "-" is standard output (refused when it is a terminal); a
// named pipe or a device is written as it is; a regular file goes through a
// PartialFile. A reader that closes its end is an error, not a signal.
#pragma once

#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "render/FrameWriter.h"
#include "render/PartialFile.h"

namespace zirvo::tools {

class RawFrames final : public FrameWriter {
 public:
  explicit RawFrames(std::string name);
  ~RawFrames() override;

  // Opened: Ok(); else Error() says why.
  bool Ok() const { return error_.empty(); }

  bool Add(const RgbImage& image) override;
  bool Finish() override;
  const std::string& Name() const override { return name_; }
  const std::string& Error() const override { return error_; }

 private:
  void Fail(int error);

  std::string name_;
  std::optional<PartialFile> file_;  // only for a regular file
  std::FILE* out_ = nullptr;
  bool ownsStream_ = false;
  std::string error_;
};

}  // namespace zirvo::tools
