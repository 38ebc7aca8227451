// Reads a text file the way both file readers see it: in pieces of at most 255
// characters, a piece ending after a line feed or when 255 characters are read
// (a longer line thus becomes several lines, later pieces starting mid-line).
// The text of a piece stops at its first NUL byte and excludes the line feed.
// A carriage return just before a line feed is taken as part of the line end,
// as the Windows build's text-mode streams do, so both builds cut the same pieces.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

namespace zirvo {

// How the readers open files; tests replace it to make a file vanish or fail.
class FileOpener {
 public:
  virtual ~FileOpener() = default;
  // A stream open for reading, or null.
  virtual std::FILE* Open(const std::string& path);
};

FileOpener& DefaultFileOpener();

struct FileCloser {
  void operator()(std::FILE* f) const {
    if (f != nullptr)
      std::fclose(f);
  }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

class LineReader {
 public:
  static constexpr std::size_t kPieceLength = 255;

  explicit LineReader(std::FILE* file) : file_(file) {}

  // The next piece into `text`; false at the end of the file or on a read error.
  bool Next(std::string& text);
  // 1-based physical line on which the last piece began.
  std::uint32_t LineNumber() const { return line_; }
  // True when the last piece did not end a physical line (it was cut at 255).
  bool LastWasCut() const { return cut_; }
  // True when the last piece began in the middle of a physical line, because
  // the piece before it was cut at 255 characters.
  bool BeganMidLine() const { return midLine_; }
  // 1-based column of the physical line at which the last piece began.
  std::size_t PieceColumn() const { return column_ + 1; }
  // True when reading stopped because of an error, not the end of the file.
  bool Failed() const;

 private:
  std::FILE* file_;
  std::uint32_t line_ = 0;
  std::uint32_t nextLine_ = 1;
  bool cut_ = false;
  bool midLine_ = false;
  std::size_t column_ = 0;
  std::size_t nextColumn_ = 0;
};

}  // namespace zirvo
