// zirvo-trace.exe: the engine's pixel trace of one show, built by the Windows
// toolchain, so that the Wine tests can compare the Windows build's numbers
// (its compiler, its C runtime's sin, cos and exp) with the Linux build's.
//
//   zirvo-trace.exe SCENE WIDTHxHEIGHT SEED SECONDS TRACE
//
// The settings are the zirvo.ini beside the program, read as zirvo.exe reads
// its own; the show runs on a simulated clock of 100 us per Delay for SECONDS
// simulated seconds (or until it ends by itself) on a WIDTHxHEIGHT screen, its
// random generator seeded with SEED. TRACE gets one line "X Y rrggbb" per pixel
// set, in order: the format of zirvo-render --trace, with which the same run on
// Linux must agree line for line. Exit status: 0 written; 1 TRACE could not be
// written; 2 bad arguments or the scene did not load (the loader's notes on
// stderr).
#include <cerrno>
#include <charconv>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

#include "engine/PixelSink.h"
#include "engine/Show.h"
#include "engine/SimulatedClock.h"
#include "platform/win32/ModulePath.h"

namespace {

constexpr std::uint64_t kDelayUs = 100;
constexpr std::uint64_t kLongestSeconds = 3600;

// Every pixel the show sets, in order, through a large buffer (the C
// runtime's formatted output, call by call, would take most of the run).
class TraceFile final : public zirvo::PixelSink {
 public:
  explicit TraceFile(std::FILE* file) : file_(file) { buffer_.reserve(kFlushAt + kLongestLine); }

  void SetPixel(std::int32_t x, std::int32_t y, zirvo::COLORREF colour) override {
    ++pixels_;
    char line[kLongestLine];
    char* at = std::to_chars(line, line + 11, x).ptr;
    *at++ = ' ';
    at = std::to_chars(at, at + 11, y).ptr;
    *at++ = ' ';
    for (unsigned channel : {zirvo::RedOf(colour), zirvo::GreenOf(colour), zirvo::BlueOf(colour)}) {
      *at++ = kHexDigits[channel / 16];
      *at++ = kHexDigits[channel % 16];
    }
    *at++ = '\n';
    buffer_.append(line, at);
    if (buffer_.size() >= kFlushAt)
      Flush();
  }
  // Writes what is buffered; false when anything could not be written.
  bool Flush() {
    if (!buffer_.empty() && std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size())
      failed_ = true;
    buffer_.clear();
    return !failed_;
  }
  std::uint64_t Pixels() const { return pixels_; }

 private:
  static constexpr std::size_t kFlushAt = 1 << 20;
  static constexpr std::size_t kLongestLine = 32;  // two 11-character numbers, colour, spaces
  static constexpr char kHexDigits[] = "0123456789abcdef";

  std::FILE* file_;
  std::string buffer_;
  bool failed_ = false;
  std::uint64_t pixels_ = 0;
};

// A whole number from `text`, within [low, high].
bool ReadNumber(const char* text, std::uint64_t low, std::uint64_t high, std::uint64_t& out) {
  if (*text < '0' || *text > '9')
    return false;
  char* end = nullptr;
  errno = 0;
  const unsigned long long value = std::strtoull(text, &end, 10);
  if (errno != 0 || end == text || *end != '\0' || value < low || value > high)
    return false;
  out = value;
  return true;
}

bool ReadScreen(const char* text, zirvo::ScreenSize& out) {
  const char* x = std::strchr(text, 'x');
  if (x == nullptr)
    return false;
  const std::string width(text, x);
  std::uint64_t w = 0;
  std::uint64_t h = 0;
  if (!ReadNumber(width.c_str(), 1, 65535, w) || !ReadNumber(x + 1, 1, 65535, h))
    return false;
  out.ScreenWidth = static_cast<std::int32_t>(w);
  out.ScreenHeight = static_cast<std::int32_t>(h);
  return true;
}

int Usage(const char* why) {
  std::fprintf(stderr,
               "zirvo-trace: %s\nusage: zirvo-trace SCENE WIDTHxHEIGHT SEED SECONDS TRACE\n", why);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 6)
    return Usage("five arguments expected");
  zirvo::ScreenSize screen{};
  std::uint64_t seed = 0;
  std::uint64_t seconds = 0;
  if (!ReadScreen(argv[2], screen))
    return Usage("the screen is not WIDTHxHEIGHT");
  if (!ReadNumber(argv[3], 0, 4294967295u, seed))
    return Usage("the seed is not a whole number below 2^32");
  if (!ReadNumber(argv[4], 1, kLongestSeconds, seconds))
    return Usage("the seconds are not a whole number from 1 to 3600");

  zirvo::ProgramArgs args;
  args.hasProgram = true;
  args.program = zirvo::win32::ModulePath();
  args.hasScene = true;
  args.scene = argv[1];
  zirvo::LoadEnvironment env;
  env.screen = screen;
  env.style = zirvo::PathStyle::kWindows;
  std::error_code error;
  env.currentDirectory = std::filesystem::current_path(error).string();

  zirvo::SimulatedClock clock(kDelayUs);
  zirvo::Show show;
  zirvo::Diagnostics diag;
  if (zirvo::LoadScene(show, args, env, clock, &diag) == 0 || show.engine == nullptr) {
    for (const zirvo::Note& note : diag.notes) {
      if (note.severity == zirvo::Severity::kError)
        std::fprintf(stderr, "%s:%u: %s\n", note.file.c_str(), static_cast<unsigned>(note.line),
                     note.message.c_str());
    }
    return Usage("the scene does not load");
  }
  show.random.Seed(static_cast<std::uint32_t>(seed));

  std::FILE* file = std::fopen(argv[5], "wb");
  if (file == nullptr) {
    std::fprintf(stderr, "zirvo-trace: %s: %s\n", argv[5], std::strerror(errno));
    return 1;
  }
  TraceFile trace(file);
  const zirvo::SimulatedRun run =
      zirvo::RunOnClock(*show.engine, clock, trace, seconds * 1'000'000);
  const bool written = trace.Flush();
  const bool closed = std::fclose(file) == 0;
  std::fprintf(stderr, "zirvo-trace: %" PRIu64 " passes, %" PRIu64 " pixels, %s\n", run.passes,
               trace.Pixels(),
               run.endedByItself ? "the show ended by itself" : "time limit reached");
  if (!written || !closed) {
    std::fprintf(stderr, "zirvo-trace: %s cannot be written\n", argv[5]);
    return 1;
  }
  return 0;
}
