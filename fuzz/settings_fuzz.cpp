// The settings reader on arbitrary file contents: it must never crash, must
// keep every value inside what its rules can produce, and must decide the same
// with and without a Diagnostics to note into.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "scene/LineReader.h"
#include "scene/MemoryFiles.h"
#include "scene/Settings.h"

namespace {

bool SameSettings(const zirvo::Settings& a, const zirvo::Settings& b) {
  return a.VirtWidth == b.VirtWidth && a.VirtHeight == b.VirtHeight && a.Scaling == b.Scaling &&
         a.UniformScale == b.UniformScale && a.BufferNodes == b.BufferNodes &&
         a.WaitCount == b.WaitCount;
}

// The line reader's pieces: at most 255 characters, never a line feed or a NUL.
void CheckPieces(zirvo::MemoryFiles& files) {
  zirvo::FilePtr file(files.Open("zirvo.ini"));
  FUZZ_CHECK(file != nullptr, "the memory file does not open");
  zirvo::LineReader reader(file.get());
  std::string piece;
  std::uint32_t lastLine = 0;
  while (reader.Next(piece)) {
    FUZZ_CHECK(piece.size() <= zirvo::LineReader::kPieceLength, "piece too long");
    FUZZ_CHECK(piece.find('\n') == std::string::npos, "line feed inside a piece");
    FUZZ_CHECK(piece.find('\0') == std::string::npos, "NUL inside a piece");
    FUZZ_CHECK(reader.LineNumber() >= lastLine && reader.LineNumber() >= 1, "line numbers go back");
    lastLine = reader.LineNumber();
  }
  FUZZ_CHECK(!reader.Failed(), "a memory file failed to read");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  zirvo::MemoryFiles files;
  files.Put("zirvo.ini", std::string(reinterpret_cast<const char*>(data), size));
  const zirvo::ScreenSize screen{1024, 768};

  zirvo::Settings plain;
  const int plainResult = zirvo::ReadSettings("zirvo.ini", screen, plain, nullptr, files);
  zirvo::Settings noted;
  zirvo::Diagnostics diag;
  const int notedResult = zirvo::ReadSettings("zirvo.ini", screen, noted, &diag, files);

  FUZZ_CHECK(plainResult == 0 || plainResult == 1, "result is not 0 or 1");
  FUZZ_CHECK(plainResult == notedResult, "Diagnostics changed the result");
  FUZZ_CHECK(SameSettings(plain, noted), "Diagnostics changed the values");
  FUZZ_CHECK((plainResult == 0) == diag.HasErrors(), "a failure without an error note or back");

  FUZZ_CHECK(plain.Scaling == 0 || plain.Scaling == 1, "Scaling is not a flag");
  FUZZ_CHECK(plain.UniformScale == 0 || plain.UniformScale == 1, "UniformScale is not a flag");
  FUZZ_CHECK(plain.BufferNodes % 65536u == 0 && plain.BufferNodes <= 4096u * 65536u,
             "BufferNodes is not a buffer value times 65536");
  if (plainResult == 1) {
    FUZZ_CHECK(plain.VirtWidth != 0 && plain.VirtHeight != 0, "a 0 size was not replaced");
    if (plain.VirtWidth == screen.ScreenWidth && plain.VirtHeight == screen.ScreenHeight) {
      FUZZ_CHECK(plain.Scaling == 0, "the physical size is scaled");
    }
  }
  CheckPieces(files);
  return 0;
}
