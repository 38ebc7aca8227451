// What the readers noticed while loading, line by line. The show itself passes
// no Diagnostics and reports nothing; zirvo-check passes one and prints it.
// Every note is made by the reader that took the decision, so there is exactly
// one copy of the reading rules.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace zirvo {

enum class Severity { kInfo, kWarning, kError };

// Stable codes, so tools and tests can tell notes apart without parsing text.
enum class NoteCode {
  // Errors: the load stops here.
  kCannotOpen,       // a file cannot be opened (scene: under either name)
  kNoProgramPath,    // the command line holds no token
  kNoSceneName,      // no second token
  kUnclosedQuote,    // a token opens a quote that is never closed
  kScreenNeedsTwo,   // screen value gives fewer than two numbers
  kScaleLetter,      // scale value begins with something other than y, u, n
  kBufferTooBig,     // buffer above 4096
  kBufferNotNumber,  // buffer value is not a number
  kWaitNotNumber,    // wait value is not a number
  kVirtualTooSmall,  // final virtual width or height below 2
  kReadError,        // a file could not be read to its end
  // Warnings: loads, but probably not as meant.
  kIndentedKey,        // a separator line that holds a key: it ends the block, key ignored
  kBlankBeforeEquals,  // "key =value": an unknown key with a trailing blank
  kUnknownKey,
  kNotANumber,         // a value that should be a number is not (no effect)
  kColourIndex,        // c outside 1..15
  kMNotOne,            // m other than 1 (no effect)
  kRandomAfterNumber,  // px=r (etc.) after a number in the same block
  kZeroAngleStep,      // nw or nn of 0: infinite angle step
  kBsAboveNv,          // bs cut to nv
  kNAbove500,          // n cut to 500
  kStartAfterStop,     // the kind never becomes active
  kBlockIgnored,       // blocks after the 50th are not read
  kDirectionCarried,   // d in force from an earlier block
  kNegativeDt,         // the swirl draws one point and stops for ever
  kNeverEnds,          // a stop the clock never passes: the show does not end by itself
  kNeverLaunches,      // n of 0
  kNoLaunchLimit,      // a negative n: no limit on live swirls
  kLongLine,           // a line over 255 characters is read as several lines
  kZeroCount,          // nv or bs of 0
  kEmptyValueFixes,    // fx= / fy= with nothing: the target becomes fixed
};

struct Note {
  Severity severity = Severity::kWarning;
  NoteCode code = NoteCode::kUnknownKey;
  std::string file;        // path as opened; empty for the command line
  std::uint32_t line = 0;  // 1-based physical line; 0 when not about a line
  std::string text;        // the line as read (without its line end)
  std::string message;     // one sentence for a person
};

// Where a line came from, for notes.
struct LineOrigin {
  const std::string& file;
  std::uint32_t line;
  const std::string& text;
};

struct Diagnostics {
  std::vector<Note> notes;

  void Add(Severity severity, NoteCode code, std::string file, std::uint32_t line, std::string text,
           std::string message) {
    notes.push_back(
        Note{severity, code, std::move(file), line, std::move(text), std::move(message)});
  }
  void Add(Severity severity, NoteCode code, const LineOrigin& origin, std::string message) {
    Add(severity, code, origin.file, origin.line, origin.text, std::move(message));
  }
  bool HasErrors() const;
  bool HasWarnings() const;
};

}  // namespace zirvo
