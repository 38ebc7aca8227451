#include "scene/ReadNotes.h"

#include "core/Ascii.h"
#include "scene/Numbers.h"

namespace zirvo {

namespace {

std::string_view TrimSeparators(std::string_view text) {
  while (!text.empty() && IsSeparator(text.front()))
    text.remove_prefix(1);
  while (!text.empty() && IsSeparator(text.back()))
    text.remove_suffix(1);
  return text;
}

}  // namespace

std::string Quoted(std::string_view text) {
  constexpr std::size_t kMaxQuoted = 40;
  if (text.size() <= kMaxQuoted)
    return "'" + std::string(text) + "'";
  return "'" + std::string(text.substr(0, kMaxQuoted)) + "...'";
}

namespace {

// When the piece just read began mid-line (its line is over 255 characters).
void NoteLongLine(const LineReader& reader, const std::string& file, const std::string& piece,
                  Diagnostics& diag) {
  if (!reader.BeganMidLine())
    return;
  const std::string column = std::to_string(reader.PieceColumn());
  std::string message;
  if (piece.empty() && !reader.LastWasCut()) {
    message =
        "this line is exactly 255 characters long, so its line end is read as an extra "
        "empty line.";
  } else {
    message = "this line is over 255 characters long, so its text from character " + column +
              " on is read as a line of its own.";
  }
  diag.Add(Severity::kWarning, NoteCode::kLongLine, file, reader.LineNumber(), piece,
           std::move(message));
}

}  // namespace

bool NextLoweredLine(LineReader& reader, const std::string& file, std::string& line,
                     std::string& asWritten, Diagnostics* diag) {
  if (!reader.Next(line))
    return false;
  if (diag != nullptr) {
    asWritten = line;
    NoteLongLine(reader, file, asWritten, *diag);
  }
  LowerAscii(line);
  return true;
}

void NoteUnknownKey(std::string_view key, const std::string_view* knownKeys, std::size_t knownCount,
                    std::string_view consequence, const LineOrigin& origin, Diagnostics& diag) {
  const std::string_view trimmed = TrimSeparators(key);
  for (std::size_t i = 0; i < knownCount; ++i) {
    if (trimmed != key && trimmed == knownKeys[i]) {
      diag.Add(Severity::kWarning, NoteCode::kBlankBeforeEquals, origin,
               "the key " + Quoted(key) + " has a blank around its name, so it is not the key '" +
                   std::string(trimmed) + "' and " + std::string(consequence) + ".");
      return;
    }
  }
  diag.Add(Severity::kWarning, NoteCode::kUnknownKey, origin,
           Quoted(key) + " is not a known key, so " + std::string(consequence) + ".");
}

void NoteReadError(const std::string& file, std::uint32_t lastLine, Diagnostics& diag) {
  diag.Add(Severity::kError, NoteCode::kReadError, file, lastLine, "",
           "the file could not be read to its end (a read error after line " +
               std::to_string(lastLine) + "); the load stops here.");
}

}  // namespace zirvo
