#include "render/RawFrames.h"

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace zirvo::tools {

RawFrames::RawFrames(std::string name) : name_(std::move(name)) {
  // A closed pipe comes back as EPIPE from the write.
  ::signal(SIGPIPE, SIG_IGN);
  if (name_ == "-") {
    if (isatty(STDOUT_FILENO) == 1) {
      error_ = "standard output is a terminal (send the frames into a pipe or a file)";
      return;
    }
    out_ = stdout;
    return;
  }
  struct stat status {};
  const bool special =
      stat(name_.c_str(), &status) == 0 && !S_ISREG(status.st_mode) && !S_ISDIR(status.st_mode);
  std::string path = name_;
  if (!special) {
    file_.emplace(name_);
    if (!file_->Ok()) {
      error_ = file_->Error();
      return;
    }
    path = file_->Path();
  }
  // A named pipe opens once a reader has opened its end.
  out_ = std::fopen(path.c_str(), "wb");
  if (out_ == nullptr) {
    error_ = std::string("cannot be created (") + std::strerror(errno) + ")";
    return;
  }
  ownsStream_ = true;
}

RawFrames::~RawFrames() {
  if (ownsStream_ && out_ != nullptr)
    std::fclose(out_);
}

void RawFrames::Fail(int error) {
  if (!error_.empty())
    return;
  error_ = error == EPIPE ? "the reader closed the pipe"
                          : std::string("cannot be written (") + std::strerror(error) + ")";
}

bool RawFrames::Add(const RgbImage& image) {
  if (!error_.empty() || out_ == nullptr)
    return false;
  const std::size_t size =
      static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height) * 3;
  if (std::fwrite(image.rgb, 1, size, out_) != size) {
    Fail(errno);
    return false;
  }
  return true;
}

bool RawFrames::Finish() {
  if (!error_.empty() || out_ == nullptr)
    return false;
  errno = 0;
  const bool written = ownsStream_ ? std::fclose(out_) == 0 : std::fflush(out_) == 0;
  const int error = errno;
  if (ownsStream_)
    out_ = nullptr;
  if (!written) {
    Fail(error);
    return false;
  }
  if (file_ && !file_->Commit()) {
    error_ = file_->Error();
    return false;
  }
  return true;
}

}  // namespace zirvo::tools
