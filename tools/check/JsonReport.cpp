#include <cstdio>
#include <string>
#include <string_view>

#include "check/CheckResult.h"
#include "check/KindSummary.h"
#include "common/NoteFormat.h"

namespace zirvo::tools {

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

// A JSON string. Valid UTF-8 passes through; any other byte of 128 and more is
// taken as the Latin-1 character of that number, so the output is always valid.
std::string Quoted(std::string_view text) {
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

// JSON has no infinity or NaN: those become null.
template <typename Real>
std::string Number(Real value) {
  const std::string text = ShortReal(value);
  return text == "inf" || text == "-inf" || text == "nan" ? "null" : text;
}

std::string Field(const char* name, const std::string& value, bool last = false) {
  return std::string("\"") + name + "\": " + value + (last ? "" : ", ");
}

std::string NoteObject(const Note& note) {
  return "{" + Field("severity", Quoted(SeverityName(note.severity))) +
         Field("code", Quoted(NoteCodeName(note.code))) + Field("file", Quoted(note.file)) +
         Field("line", std::to_string(note.line)) + Field("text", Quoted(note.text)) +
         Field("message", Quoted(note.message), true) + "}";
}

std::string PointObject(std::int32_t x, std::int32_t xRandom, std::int32_t y,
                        std::int32_t yRandom) {
  return "{" + Field("x", xRandom != 0 ? "null" : std::to_string(x)) +
         Field("y", yRandom != 0 ? "null" : std::to_string(y), true) + "}";
}

std::string KindObject(const SwirlSpec& k, int index) {
  const char* mode = k.colourMode == 0 ? "fixed" : k.colourMode == 1 ? "per-swirl" : "per-point";
  return "{" + Field("kind", std::to_string(index + 1)) + Field("start", std::to_string(k.start)) +
         Field("stop", std::to_string(k.stop)) + Field("n", std::to_string(k.n)) +
         Field("p", std::to_string(k.p)) + Field("nv", std::to_string(k.nv)) +
         Field("bs", std::to_string(k.bs)) + Field("dt", std::to_string(k.dt)) +
         Field("m", std::to_string(k.m)) + Field("v", Number(k.v)) + Field("a", Number(k.a)) +
         Field("b", Number(k.b)) + Field("nw", Number(k.nw)) + Field("nn", Number(k.nn)) +
         Field("colour_mode", Quoted(mode)) + Field("colour", Quoted(ColourName(k.colour))) +
         Field("start_point", PointObject(k.px, k.pxRandom, k.py, k.pyRandom)) +
         Field("target", PointObject(k.fx, k.fxRandom, k.fy, k.fyRandom), true) + "}";
}

}  // namespace

std::string JsonReport(const CheckResult& r) {
  std::string out = "{";
  out += Field("scene", Quoted(r.scene));
  out += Field("scene_path", Quoted(r.loaded.scenePath));
  out += Field("settings_path", Quoted(r.settingsPath));
  out += Field("loads", r.loads ? "true" : "false");
  out += Field("warnings", std::to_string(r.Count(Severity::kWarning)));
  // The note that stopped the load, or null.
  std::string error = "null";
  for (const Note& note : r.diag.notes) {
    if (note.severity != Severity::kError)
      continue;
    error = NoteObject(note);
    break;
  }
  out += Field("error", error);
  std::string notes = "[";
  for (std::size_t i = 0; i < r.diag.notes.size(); ++i) {
    if (i > 0)
      notes += ", ";
    notes += NoteObject(r.diag.notes[i]);
  }
  out += Field("notes", notes + "]", !r.loads);
  if (r.loads) {
    const Settings& s = r.loaded.settings;
    const ScreenMap& m = r.loaded.map;
    out += Field("screen", "{" + Field("width", std::to_string(r.loaded.screen.ScreenWidth)) +
                               Field("height", std::to_string(r.loaded.screen.ScreenHeight), true) +
                               "}");
    out += Field("virtual", "{" + Field("width", std::to_string(s.VirtWidth)) +
                                Field("height", std::to_string(s.VirtHeight)) +
                                Field("scaling", std::to_string(m.Scaling)) +
                                Field("uniform", std::to_string(s.UniformScale)) +
                                Field("scale_x", Number(m.ScaleX)) +
                                Field("scale_y", Number(m.ScaleY)) +
                                Field("offset_x", std::to_string(m.OffsetX)) +
                                Field("offset_y", std::to_string(m.OffsetY), true) + "}");
    out += Field("buffer_nodes", std::to_string(s.BufferNodes));
    out += Field("wait", std::to_string(s.WaitCount));
    std::string kinds = "[";
    for (int i = 0; i < r.loaded.specs.SpecCount; ++i) {
      if (i > 0)
        kinds += ", ";
      kinds += KindObject(r.loaded.specs[i], i);
    }
    out += Field("kinds", kinds + "]");
    out += Field("end",
                 "{" + Field("ends", r.end.ends ? "true" : "false") +
                     Field("earliest_seconds", r.end.ends ? std::to_string(r.end.earliestSeconds)
                                                          : std::string("null")) +
                     Field("kind", std::to_string(r.end.decidingKind)) +
                     Field("explanation", Quoted(r.end.explanation), true) + "}",
                 true);
  }
  return out + "}\n";
}

}  // namespace zirvo::tools
