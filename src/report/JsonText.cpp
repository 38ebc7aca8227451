#include "report/JsonText.h"

#include <cstdio>

#include "report/NoteFormat.h"

namespace zirvo {

namespace {

// Length of the valid UTF-8 sequence at `at`, or 0.
std::size_t Utf8Length(std::string_view text, std::size_t at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  std::size_t length = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
  } else {
    return 0;
  }
  if (at + length > text.size())
    return 0;
  for (std::size_t i = 1; i < length; ++i) {
    if ((static_cast<unsigned char>(text[at + i]) & 0xC0) != 0x80)
      return 0;
  }
  return length;
}

}  // namespace

std::string JsonString(std::string_view text) {
  std::string out = "\"";
  for (std::size_t at = 0; at < text.size();) {
    const auto byte = static_cast<unsigned char>(text[at]);
    if (byte >= 0x80) {
      if (const std::size_t length = Utf8Length(text, at)) {
        out.append(text.substr(at, length));
        at += length;
        continue;
      }
    }
    char escaped[8];
    switch (byte) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (byte < 0x20 || byte >= 0x7F) {
          std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
          out += escaped;
        } else {
          out += static_cast<char>(byte);
        }
    }
    ++at;
  }
  return out + "\"";
}

std::string JsonField(const char* name, const std::string& value, bool last) {
  return std::string("\"") + name + "\": " + value + (last ? "" : ", ");
}

std::string NoteObject(const Note& note, const std::string& more) {
  const bool last = more.empty();
  return "{" + JsonField("severity", JsonString(SeverityName(note.severity))) +
         JsonField("code", JsonString(NoteCodeName(note.code))) +
         JsonField("file", JsonString(note.file)) + JsonField("line", std::to_string(note.line)) +
         JsonField("text", JsonString(note.text)) +
         JsonField("message", JsonString(note.message), last) + more + "}";
}

}  // namespace zirvo
