// A FileOpener that serves files from memory, so a harness can hand its input
// to the readers as a file without touching the disk.
#pragma once

#include <cstdio>
#include <map>
#include <string>

#include "scene/LineReader.h"

namespace zirvo::fuzzing {

class MemoryFiles final : public FileOpener {
 public:
  void Add(const std::string& path, std::string content) { files_[path] = std::move(content); }

  // fmemopen reads the bytes as they are, NUL bytes included. An empty buffer
  // is not accepted by every C library, so an empty file is /dev/null.
  std::FILE* Open(const std::string& path) override {
    auto found = files_.find(path);
    if (found == files_.end())
      return nullptr;
    std::string& content = found->second;
    if (content.empty())
      return std::fopen("/dev/null", "r");
    return fmemopen(content.data(), content.size(), "r");
  }

 private:
  std::map<std::string, std::string> files_;
};

}  // namespace zirvo::fuzzing
