// An animated GIF of the simulated screen: a picture every 1/fps simulated
// second. The show draws only with the 16 palette colours, so the GIF's colour
// table is that palette and the pictures are exact. The first picture covers
// the screen; each later one holds only the rectangle that changed, with the
// unchanged pixels inside it transparent, laid over what is shown already. A
// picture that changes nothing lengthens the one before it.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "core/Rect.h"
#include "image/Picture.h"

struct GifFileType;

namespace zirvo::tools {

class GifRecorder {
 public:
  // Opens `path` and writes the GIF's header; Ok() tells whether that worked.
  GifRecorder(const std::string& path, Picture& frame, double fps);
  ~GifRecorder();
  GifRecorder(const GifRecorder&) = delete;
  GifRecorder& operator=(const GifRecorder&) = delete;

  bool Ok() const { return error_.empty(); }
  const std::string& Error() const { return error_; }

  // The clock has moved to `nowUs`: takes every picture whose time has come.
  void OnClock(std::uint64_t nowUs) {
    while (nowUs >= nextAtUs_ && Ok())
      Capture();
  }
  // Takes the final picture at `endUs`, holds it a little and closes the file.
  bool Finish(std::uint64_t endUs);
  std::uint32_t PicturesWritten() const { return written_; }

 private:
  // One picture of the GIF, held until the next one says how long it stays.
  struct Still {
    Rect area;
    std::vector<std::uint8_t> indices;
    std::uint64_t atUs = 0;
  };

  void Capture();
  void TakePicture(std::uint64_t atUs);
  void WritePending(std::uint64_t untilUs, std::uint32_t holdCs);
  bool WriteImage(const Rect& area, std::uint8_t* indices, std::uint32_t delayCs);
  void Fail(const std::string& what, int code);
  std::uint64_t PictureTime(std::uint64_t index) const;

  std::FILE* out_ = nullptr;
  GifFileType* gif_ = nullptr;
  Picture& frame_;
  double fps_;
  std::vector<COLORREF> shown_;  // what the GIF shows once the pending picture is written
  std::vector<RowSpan> rows_;    // the rows set since the last picture
  std::vector<RowSpan> scratch_;
  bool first_ = true;
  bool hasPending_ = false;
  Still pending_;
  std::uint64_t nextIndex_ = 0;
  std::uint64_t nextAtUs_ = 0;
  std::uint32_t written_ = 0;
  std::string error_;
};

}  // namespace zirvo::tools
