// A loader note as a person reads it, like a compiler's message (zirvo-check,
// zirvo-saver's reports, the web page's notes):
//   scene.zrv:12: warning: unknown key "colr" (ignored)
//       colr=5
#pragma once

#include <string>
#include <string_view>

#include "scene/Diagnostics.h"

namespace zirvo {

// "note", "warning" or "error".
const char* SeverityName(Severity severity);

// A stable name for the code, for machines: "unknown-key", "cannot-open", ...
std::string NoteCodeName(NoteCode code);

// The line of text made safe for a terminal: control characters other than tab
// become \xNN.
std::string Printable(std::string_view text);

// Puts the notes in reading order: by file (in the order the load met them),
// then by line. The readers note some things only when a block ends.
void SortNotes(Diagnostics& diag);

// The note's heading line and, when it is about a line, the quoted line below
// it; each line ends with '\n'.
std::string FormatNote(const Note& note);

}  // namespace zirvo
