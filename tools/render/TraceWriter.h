// The trace file (its lines are report/TraceLine.h's), written through a large
// buffer.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "core/Colour.h"

namespace zirvo::tools {

class TraceWriter {
 public:
  // Opens `path` for writing; Ok() tells whether that worked.
  explicit TraceWriter(const std::string& path);
  ~TraceWriter();
  TraceWriter(const TraceWriter&) = delete;
  TraceWriter& operator=(const TraceWriter&) = delete;

  bool Ok() const { return file_ != nullptr && !failed_; }
  // errno of the failed open.
  int OpenError() const { return openError_; }

  void Write(std::int32_t x, std::int32_t y, COLORREF colour);
  // Flushes and closes; false when anything could not be written.
  bool Close();

 private:
  void Flush();

  std::FILE* file_;
  std::string buffer_;
  bool failed_ = false;
  int openError_ = 0;
};

}  // namespace zirvo::tools
