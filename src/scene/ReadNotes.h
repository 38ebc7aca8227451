// Notes both file readers make in the same words: long lines, unknown keys,
// read errors. Called only when a Diagnostics is given.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "scene/Diagnostics.h"
#include "scene/LineReader.h"

namespace zirvo {

// The next line of either file, as both readers take it: `line` in lower case,
// `asWritten` as it stands in the file (for the notes, only kept when `diag` is
// given, which also hears of a line over 255 characters read in pieces). False
// at the end of the file.
bool NextLoweredLine(LineReader& reader, const std::string& file, std::string& line,
                     std::string& asWritten, Diagnostics* diag);

// An unknown key; a known key with a blank before or after it gets its own note.
// `consequence` completes the sentence ("the line is ignored").
void NoteUnknownKey(std::string_view key, const std::string_view* knownKeys, std::size_t knownCount,
                    std::string_view consequence, const LineOrigin& origin, Diagnostics& diag);

void NoteReadError(const std::string& file, std::uint32_t lastLine, Diagnostics& diag);

// `text` shortened for quoting in a message.
std::string Quoted(std::string_view text);

}  // namespace zirvo
