// The web page's files: texts held in memory and opened by name through the
// loader's file opener, so the loader reads them exactly as it reads files on
// disk. Nothing else can be opened.
#pragma once

#include <cstdio>
#include <map>
#include <string>

#include "scene/LineReader.h"

namespace zirvo::web {

class MemoryFiles final : public FileOpener {
 public:
  // `text` is opened, byte for byte, as the file `path`. Streams opened before
  // must be closed before the same path is put again.
  void Put(const std::string& path, std::string text);

  // A stream reading the text put under `path`, or null when there is none.
  std::FILE* Open(const std::string& path) override;

 private:
  std::map<std::string, std::string> files_;
};

}  // namespace zirvo::web
