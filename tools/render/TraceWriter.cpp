#include "render/TraceWriter.h"

#include <cerrno>

#include "report/TraceLine.h"

namespace zirvo::tools {

namespace {

constexpr std::size_t kFlushAt = 1 << 20;

}  // namespace

TraceWriter::TraceWriter(const std::string& path) : file_(std::fopen(path.c_str(), "wb")) {
  if (file_ == nullptr)
    openError_ = errno;
  buffer_.reserve(kFlushAt + 64);
}

TraceWriter::~TraceWriter() {
  Close();
}

void TraceWriter::Write(std::int32_t x, std::int32_t y, COLORREF colour) {
  AppendTraceLine(buffer_, x, y, colour);
  if (buffer_.size() >= kFlushAt)
    Flush();
}

void TraceWriter::Flush() {
  if (file_ == nullptr || buffer_.empty())
    return;
  if (std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size())
    failed_ = true;
  buffer_.clear();
}

bool TraceWriter::Close() {
  if (file_ == nullptr)
    return false;
  Flush();
  if (std::fclose(file_) != 0)
    failed_ = true;
  file_ = nullptr;
  return !failed_;
}

}  // namespace zirvo::tools
