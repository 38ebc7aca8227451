#include "report/NoteFormat.h"

#include <cstdio>

namespace zirvo {

const char* SeverityName(Severity severity) {
  switch (severity) {
    case Severity::kInfo:
      return "note";
    case Severity::kWarning:
      return "warning";
    case Severity::kError:
      return "error";
  }
  return "note";
}

std::string NoteCodeName(NoteCode code) {
  switch (code) {
    case NoteCode::kCannotOpen:
      return "cannot-open";
    case NoteCode::kNoProgramPath:
      return "no-program-path";
    case NoteCode::kNoSceneName:
      return "no-scene-name";
    case NoteCode::kUnclosedQuote:
      return "unclosed-quote";
    case NoteCode::kScreenNeedsTwo:
      return "screen-needs-two-numbers";
    case NoteCode::kScaleLetter:
      return "scale-letter";
    case NoteCode::kBufferTooBig:
      return "buffer-too-big";
    case NoteCode::kBufferNotNumber:
      return "buffer-not-a-number";
    case NoteCode::kWaitNotNumber:
      return "wait-not-a-number";
    case NoteCode::kVirtualTooSmall:
      return "virtual-screen-too-small";
    case NoteCode::kReadError:
      return "read-error";
    case NoteCode::kIndentedKey:
      return "indented-key";
    case NoteCode::kBlankBeforeEquals:
      return "blank-before-equals";
    case NoteCode::kUnknownKey:
      return "unknown-key";
    case NoteCode::kNotANumber:
      return "not-a-number";
    case NoteCode::kColourIndex:
      return "colour-index";
    case NoteCode::kMNotOne:
      return "m-not-one";
    case NoteCode::kRandomAfterNumber:
      return "random-after-number";
    case NoteCode::kZeroAngleStep:
      return "zero-angle-step";
    case NoteCode::kBsAboveNv:
      return "bs-above-nv";
    case NoteCode::kNAbove500:
      return "n-above-500";
    case NoteCode::kStartAfterStop:
      return "start-after-stop";
    case NoteCode::kBlockIgnored:
      return "block-ignored";
    case NoteCode::kDirectionCarried:
      return "direction-carried";
    case NoteCode::kNegativeDt:
      return "negative-dt";
    case NoteCode::kNeverEnds:
      return "never-ends";
    case NoteCode::kNeverLaunches:
      return "never-launches";
    case NoteCode::kNoLaunchLimit:
      return "no-launch-limit";
    case NoteCode::kLongLine:
      return "long-line";
    case NoteCode::kZeroCount:
      return "zero-count";
    case NoteCode::kEmptyValueFixes:
      return "empty-value-fixes";
    default:
      // A code added to the loader after this table: still a stable name.
      return "note-" + std::to_string(static_cast<int>(code));
  }
}

std::string Printable(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte < 0x20 && c != '\t') || byte == 0x7F) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02x", byte);
      out += escaped;
    } else {
      out += c;
    }
  }
  return out;
}

std::string FormatNote(const Note& note) {
  std::string out;
  if (!note.file.empty()) {
    out += Printable(note.file);
    if (note.line > 0)
      out += ":" + std::to_string(note.line);
    out += ": ";
  }
  out += SeverityName(note.severity);
  out += ": ";
  out += Printable(note.message);
  out += '\n';
  if (note.line > 0) {
    out += "    ";
    out += Printable(note.text);
    out += '\n';
  }
  return out;
}

}  // namespace zirvo
