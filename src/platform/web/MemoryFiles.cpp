#include "platform/web/MemoryFiles.h"

namespace zirvo::web {

void MemoryFiles::Put(const std::string& path, std::string text) {
  files_[path] = std::move(text);
}

std::FILE* MemoryFiles::Open(const std::string& path) {
  const auto found = files_.find(path);
  if (found == files_.end())
    return nullptr;
  std::string& text = found->second;
  if (!text.empty())
    return fmemopen(text.data(), text.size(), "r");
  // A memory stream cannot be empty: an empty file is a one-byte stream that
  // starts at its end.
  static char nothing = '\0';
  std::FILE* stream = fmemopen(&nothing, 1, "r");
  if (stream != nullptr && std::fseek(stream, 0, SEEK_END) != 0) {
    std::fclose(stream);
    return nullptr;
  }
  return stream;
}

}  // namespace zirvo::web
