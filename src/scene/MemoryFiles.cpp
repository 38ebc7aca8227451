// Streams over memory through the C library's cookie streams (glibc, and the
// musl of the WebAssembly build): one way for every file, empty and unreadable
// ones too, where a memory stream cannot be empty on every library.
#ifndef _GNU_SOURCE
#define _GNU_SOURCE 1
#endif
#include "scene/MemoryFiles.h"

#include <sys/types.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <utility>

namespace zirvo {

namespace {

// What one open stream reads: its own copy of the text, and how far it is.
struct Reading {
  std::optional<std::string> text;  // none: every read fails
  std::size_t at = 0;
};

ssize_t ReadSome(void* cookie, char* buffer, std::size_t size) {
  Reading& reading = *static_cast<Reading*>(cookie);
  if (!reading.text)
    return -1;
  const std::size_t count = std::min(size, reading.text->size() - reading.at);
  std::memcpy(buffer, reading.text->data() + reading.at, count);
  reading.at += count;
  return static_cast<ssize_t>(count);
}

int Close(void* cookie) {
  delete static_cast<Reading*>(cookie);
  return 0;
}

}  // namespace

void MemoryFiles::Put(const std::string& path, std::string text) {
  files_[path] = std::move(text);
}

void MemoryFiles::PutUnreadable(const std::string& path) {
  files_[path] = std::nullopt;
}

std::FILE* MemoryFiles::Open(const std::string& path) {
  const auto found = files_.find(path);
  if (found == files_.end())
    return nullptr;
  auto reading = std::make_unique<Reading>();
  reading->text = found->second;
  cookie_io_functions_t functions{};
  functions.read = &ReadSome;
  functions.close = &Close;
  std::FILE* stream = fopencookie(reading.get(), "r", functions);
  if (stream != nullptr)
    reading.release();  // the stream's close frees it
  return stream;
}

}  // namespace zirvo
