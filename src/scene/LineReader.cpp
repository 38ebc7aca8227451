#include "scene/LineReader.h"

#include "scene/SystemFiles.h"

namespace zirvo {

std::FILE* FileOpener::Open(const std::string& path) {
  // A directory is not a file to read, on any system (some open it and only
  // fail at the first read); saying so here lets the ".zrv" retry happen.
  if (IsDirectory(path))
    return nullptr;
  return std::fopen(path.c_str(), "r");
}

FileOpener& DefaultFileOpener() {
  static FileOpener opener;
  return opener;
}

bool LineReader::Next(std::string& text) {
  text.clear();
  midLine_ = cut_;
  cut_ = false;
  line_ = nextLine_;
  column_ = nextColumn_;
  std::size_t taken = 0;  // characters of the piece, line feed included
  bool atNul = false;
  while (taken < kPieceLength) {
    int c = std::getc(file_);
    if (c == EOF) {
      // A read error loses the piece, as it would for fgets.
      if (std::ferror(file_) != 0)
        return false;
      return taken > 0;
    }
    if (c == '\r') {
      const int after = std::getc(file_);
      if (after == '\n') {
        c = '\n';
      } else if (after != EOF) {
        std::ungetc(after, file_);
      }
    }
    ++taken;
    if (c == '\n') {
      ++nextLine_;
      nextColumn_ = 0;
      return true;
    }
    if (c == '\0')
      atNul = true;
    if (!atNul)
      text.push_back(static_cast<char>(c));
  }
  cut_ = true;
  nextColumn_ = column_ + taken;
  return true;
}

bool LineReader::Failed() const {
  return std::ferror(file_) != 0;
}

}  // namespace zirvo
