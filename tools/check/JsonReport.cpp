#include <cstdio>
#include <string>
#include <string_view>

#include "check/CheckResult.h"
#include "check/KindSummary.h"
#include "report/JsonText.h"
#include "report/NoteFormat.h"

namespace zirvo::tools {

namespace {

// JSON has no infinity or NaN: those become null.
template <typename Real>
std::string Number(Real value) {
  const std::string text = ShortReal(value);
  return text == "inf" || text == "-inf" || text == "nan" ? "null" : text;
}

std::string PointObject(std::int32_t x, std::int32_t xRandom, std::int32_t y,
                        std::int32_t yRandom) {
  return "{" + JsonField("x", xRandom != 0 ? "null" : std::to_string(x)) +
         JsonField("y", yRandom != 0 ? "null" : std::to_string(y), true) + "}";
}

std::string KindObject(const SwirlSpec& k, int index) {
  const char* mode = k.colourMode == 0 ? "fixed" : k.colourMode == 1 ? "per-swirl" : "per-point";
  return "{" + JsonField("kind", std::to_string(index + 1)) +
         JsonField("start", std::to_string(k.start)) + JsonField("stop", std::to_string(k.stop)) +
         JsonField("n", std::to_string(k.n)) + JsonField("p", std::to_string(k.p)) +
         JsonField("nv", std::to_string(k.nv)) + JsonField("bs", std::to_string(k.bs)) +
         JsonField("dt", std::to_string(k.dt)) + JsonField("m", std::to_string(k.m)) +
         JsonField("v", Number(k.v)) + JsonField("a", Number(k.a)) + JsonField("b", Number(k.b)) +
         JsonField("nw", Number(k.nw)) + JsonField("nn", Number(k.nn)) +
         JsonField("colour_mode", JsonString(mode)) +
         JsonField("colour", JsonString(ColourName(k.colour))) +
         JsonField("start_point", PointObject(k.px, k.pxRandom, k.py, k.pyRandom)) +
         JsonField("target", PointObject(k.fx, k.fxRandom, k.fy, k.fyRandom), true) + "}";
}

}  // namespace

std::string JsonReport(const CheckResult& r) {
  std::string out = "{";
  out += JsonField("scene", JsonString(r.scene));
  out += JsonField("scene_path", JsonString(r.loaded.scenePath));
  out += JsonField("settings_path", JsonString(r.settingsPath));
  out += JsonField("loads", r.loads ? "true" : "false");
  out += JsonField("warnings", std::to_string(r.Count(Severity::kWarning)));
  // The note that stopped the load, or null.
  std::string error = "null";
  for (const Note& note : r.diag.notes) {
    if (note.severity != Severity::kError)
      continue;
    error = NoteObject(note);
    break;
  }
  out += JsonField("error", error);
  std::string notes = "[";
  for (std::size_t i = 0; i < r.diag.notes.size(); ++i) {
    if (i > 0)
      notes += ", ";
    notes += NoteObject(r.diag.notes[i]);
  }
  out += JsonField("notes", notes + "]", !r.loads);
  if (r.loads) {
    const Settings& s = r.loaded.settings;
    const ScreenMap& m = r.loaded.map;
    out += JsonField("screen",
                     "{" + JsonField("width", std::to_string(r.loaded.screen.ScreenWidth)) +
                         JsonField("height", std::to_string(r.loaded.screen.ScreenHeight), true) +
                         "}");
    out += JsonField("virtual", "{" + JsonField("width", std::to_string(s.VirtWidth)) +
                                    JsonField("height", std::to_string(s.VirtHeight)) +
                                    JsonField("scaling", std::to_string(m.Scaling)) +
                                    JsonField("uniform", std::to_string(s.UniformScale)) +
                                    JsonField("scale_x", Number(m.ScaleX)) +
                                    JsonField("scale_y", Number(m.ScaleY)) +
                                    JsonField("offset_x", std::to_string(m.OffsetX)) +
                                    JsonField("offset_y", std::to_string(m.OffsetY), true) + "}");
    out += JsonField("buffer_nodes", std::to_string(s.BufferNodes));
    out += JsonField("wait", std::to_string(s.WaitCount));
    std::string kinds = "[";
    for (int i = 0; i < r.loaded.specs.SpecCount; ++i) {
      if (i > 0)
        kinds += ", ";
      kinds += KindObject(r.loaded.specs[i], i);
    }
    out += JsonField("kinds", kinds + "]");
    out += JsonField(
        "end",
        "{" + JsonField("ends", r.end.ends ? "true" : "false") +
            JsonField("earliest_seconds",
                      r.end.ends ? std::to_string(r.end.earliestSeconds) : std::string("null")) +
            JsonField("kind", std::to_string(r.end.decidingKind)) +
            JsonField("explanation", JsonString(r.end.explanation), true) + "}",
        true);
  }
  return out + "}\n";
}

}  // namespace zirvo::tools
