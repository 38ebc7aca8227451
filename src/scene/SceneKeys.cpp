#include "scene/SceneKeys.h"

#include <array>
#include <string>

#include "scene/Numbers.h"
#include "scene/ReadNotes.h"

namespace zirvo {

namespace {

constexpr std::array<std::string_view, 21> kSceneKeys = {
    "screen", "scale", "start", "stop", "d",  "px", "py", "fx", "fy", "n", "p",
    "c",      "m",     "v",     "nv",   "nw", "nn", "bs", "a",  "b",  "dt"};

void Remember(SettingSource& where, const LineOrigin& origin) {
  where = SettingSource{origin.file, origin.line, origin.text};
}

void NoteNotANumber(std::string_view key, std::string_view value, Diagnostics* diag,
                    const LineOrigin& origin) {
  if (diag == nullptr)
    return;
  diag->Add(
      Severity::kWarning, NoteCode::kNotANumber, origin,
      Quoted(value) + " is not a number, so this " + std::string(key) + " line has no effect.");
}

template <typename T>
void SetIfNumber(std::optional<T> number, T& field, std::string_view key, std::string_view value,
                 Diagnostics* diag, const LineOrigin& origin) {
  if (number) {
    field = *number;
  } else {
    NoteNotANumber(key, value, diag, origin);
  }
}

// px, py, fx, fy. A number fixes the coordinate at it. Otherwise an "r" leaves
// the random choice as it is (it never switches it back on); the end of the
// value does the same for a start point but fixes a target point; any other
// text fixes the coordinate at the value it has.
void ApplyCoordinate(std::string_view key, std::string_view value, bool isTarget,
                     std::int32_t& coordinate, std::int32_t& random, Diagnostics* diag,
                     const LineOrigin& origin) {
  if (const std::optional<std::int32_t> number = ScanInt(value)) {
    coordinate = *number;
    random = 0;
    return;
  }
  const char first = FirstNonSeparator(value);
  const bool leavesFlag = first == 'r' || (first == '\0' && !isTarget);
  if (diag != nullptr) {
    const std::string name(key);
    const std::string fixedAt = std::to_string(coordinate);
    if (first == 'r' && random == 0) {
      diag->Add(Severity::kWarning, NoteCode::kRandomAfterNumber, origin,
                name +
                    "=r does not make the coordinate random again: an earlier line of this "
                    "block fixed it at " +
                    fixedAt + ".");
    } else if (first == '\0' && isTarget && random != 0) {
      diag->Add(Severity::kWarning, NoteCode::kEmptyValueFixes, origin,
                name + " with no value fixes the target coordinate at " + fixedAt +
                    " instead of leaving it random.");
    } else if (!leavesFlag && first != '\0') {
      diag->Add(Severity::kWarning, NoteCode::kNotANumber, origin,
                Quoted(value) + " is neither a number nor r, so " + name + " becomes fixed at " +
                    fixedAt + ".");
    }
  }
  if (!leavesFlag)
    random = 0;
}

void ApplyColour(std::string_view value, SwirlSpec& spec, Diagnostics* diag,
                 const LineOrigin& origin) {
  if (const std::optional<std::int32_t> index = ScanInt(value)) {
    if (*index >= 1 && *index <= 15) {
      spec.colour = Palette16[static_cast<std::size_t>(*index)];
    } else if (diag != nullptr) {
      diag->Add(Severity::kWarning, NoteCode::kColourIndex, origin,
                "colour index " + std::to_string(*index) +
                    " is outside 1..15, so the colour stays as it was.");
    }
    return;
  }
  const char first = FirstNonSeparator(value);
  if (first == 'a') {
    spec.colourMode = 1;
  } else if (first == 'r') {
    spec.colourMode = -1;
  } else if (diag != nullptr) {
    diag->Add(Severity::kWarning, NoteCode::kNotANumber, origin,
              "c takes a colour index 1..15, a (a random colour per swirl) or r (per point), so " +
                  Quoted(value) + " has no effect.");
  }
}

void ApplyM(std::string_view value, SwirlSpec& spec, Diagnostics* diag, const LineOrigin& origin) {
  const std::optional<std::int32_t> number = ScanInt(value);
  if (!number) {
    NoteNotANumber("m", value, diag, origin);
    return;
  }
  if (*number == 1) {
    spec.m = 1;
  } else if (diag != nullptr) {
    diag->Add(Severity::kWarning, NoteCode::kMNotOne, origin,
              "only m=1 changes the fade (one point per turn), so m=" + std::to_string(*number) +
                  " has no effect.");
  }
}

void ApplyAngleStep(std::string_view key, std::string_view value, float& field, Diagnostics* diag,
                    const LineOrigin& origin) {
  const std::optional<float> points = ScanFloat(value);
  if (!points) {
    NoteNotANumber(key, value, diag, origin);
    return;
  }
  field = AngleStepFromPoints(*points);
  if (*points == 0.0f && diag != nullptr) {
    diag->Add(Severity::kWarning, NoteCode::kZeroAngleStep, origin,
              std::string(key) +
                  " of 0 makes the angle step infinite, so swirls of this kind draw no point.");
  }
}

}  // namespace

void ApplyKindKey(std::string_view key, std::string_view value, SwirlSpec& spec,
                  SceneReadState& state, std::int32_t blockIndex, Diagnostics* diag,
                  const LineOrigin& origin) {
  BlockLines& lines = state.block;
  const bool noting = diag != nullptr;
  if (key == "start") {
    SetIfNumber(ScanUnsigned(value), spec.start, key, value, diag, origin);
    if (noting)
      Remember(lines.start, origin);
  } else if (key == "stop") {
    SetIfNumber(ScanUnsigned(value), spec.stop, key, value, diag, origin);
    if (noting)
      Remember(lines.stop, origin);
  } else if (key == "d") {
    if (const std::optional<std::int32_t> d = ScanInt(value)) {
      state.d = *d;
      if (noting) {
        Remember(state.dLine, origin);
        state.dBlock = blockIndex;
        state.dCarriedNoted = false;
      }
    } else {
      NoteNotANumber(key, value, diag, origin);
    }
  } else if (key == "px") {
    ApplyCoordinate(key, value, false, spec.px, spec.pxRandom, diag, origin);
  } else if (key == "py") {
    ApplyCoordinate(key, value, false, spec.py, spec.pyRandom, diag, origin);
  } else if (key == "fx") {
    ApplyCoordinate(key, value, true, spec.fx, spec.fxRandom, diag, origin);
  } else if (key == "fy") {
    ApplyCoordinate(key, value, true, spec.fy, spec.fyRandom, diag, origin);
  } else if (key == "n") {
    SetIfNumber(ScanInt(value), spec.n, key, value, diag, origin);
    if (noting)
      Remember(lines.n, origin);
  } else if (key == "p") {
    SetIfNumber(ScanInt(value), spec.p, key, value, diag, origin);
  } else if (key == "c") {
    ApplyColour(value, spec, diag, origin);
  } else if (key == "m") {
    ApplyM(value, spec, diag, origin);
  } else if (key == "v") {
    SetIfNumber(ScanFloat(value), spec.v, key, value, diag, origin);
  } else if (key == "nv") {
    SetIfNumber(ScanUnsigned(value), spec.nv, key, value, diag, origin);
    if (noting)
      Remember(lines.nv, origin);
  } else if (key == "nw") {
    ApplyAngleStep(key, value, spec.nw, diag, origin);
  } else if (key == "nn") {
    ApplyAngleStep(key, value, spec.nn, diag, origin);
  } else if (key == "bs") {
    SetIfNumber(ScanUnsigned(value), spec.bs, key, value, diag, origin);
    if (noting)
      Remember(lines.bs, origin);
  } else if (key == "a") {
    SetIfNumber(ScanFloat(value), spec.a, key, value, diag, origin);
  } else if (key == "b") {
    SetIfNumber(ScanFloat(value), spec.b, key, value, diag, origin);
  } else if (key == "dt") {
    SetIfNumber(ScanInt(value), spec.dt, key, value, diag, origin);
    if (noting)
      Remember(lines.dt, origin);
  } else if (noting) {
    NoteUnknownKey(key, kSceneKeys.data(), kSceneKeys.size(),
                   "the line is ignored (it still makes this block a kind)", origin, *diag);
  }
}

}  // namespace zirvo
