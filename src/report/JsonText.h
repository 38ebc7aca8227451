// Pieces of JSON text for the tools' machine-readable output: strings, fields
// and the loader's notes as objects.
#pragma once

#include <string>
#include <string_view>

#include "scene/Diagnostics.h"

namespace zirvo {

// A JSON string. Valid UTF-8 passes through; any other byte of 128 and more is
// taken as the Latin-1 character of that number, so the output is always valid.
std::string JsonString(std::string_view text);

// "\"name\": value, " (without the comma when `last`); `value` is JSON already.
std::string JsonField(const char* name, const std::string& value, bool last = false);

// A note as an object with the fields severity, code, file, line, text and
// message; `more`, when not empty, is further fields (JsonField pieces, the
// last one marked last) that end it.
std::string NoteObject(const Note& note, const std::string& more = "");

}  // namespace zirvo
