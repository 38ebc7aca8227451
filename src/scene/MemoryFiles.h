// The one fake disk: texts held in memory and opened by name through the
// loader's file opener, so that the readers read them exactly as they read
// files on disk. The web page's files, the fuzz harnesses' inputs and the
// tests' files that must fail to read. Nothing else can be opened.
#pragma once

#include <cstdio>
#include <map>
#include <optional>
#include <string>

#include "scene/LineReader.h"

namespace zirvo {

class MemoryFiles final : public FileOpener {
 public:
  // `text` is opened, byte for byte (NUL bytes too), as the file `path`; an
  // empty text is an empty file. A stream already open keeps what it had.
  void Put(const std::string& path, std::string text);
  // `path` opens, but every read of it fails (as a directory does on Linux).
  void PutUnreadable(const std::string& path);

  // A stream reading the file put under `path`, or null when there is none.
  std::FILE* Open(const std::string& path) override;

 private:
  std::map<std::string, std::optional<std::string>> files_;  // none: unreadable
};

}  // namespace zirvo
