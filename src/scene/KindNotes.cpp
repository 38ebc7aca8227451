// The notes about a whole kind, made when its block ends: values that the end
// of the block changes, and kinds that never launch or never end.
#include <string>

#include "scene/KindRules.h"
#include "scene/SceneKeys.h"

namespace zirvo {

namespace {

// The line that set a value, or else the block's first line.
const SettingSource& LineOf(const SettingSource& setter, const BlockLines& lines) {
  return setter.line != 0 ? setter : lines.first;
}

void Add(Diagnostics& diag, Severity severity, NoteCode code, const SettingSource& where,
         std::string message) {
  diag.Add(severity, code, where.file, where.line, where.text, std::move(message));
}

}  // namespace

void NoteFinishedKind(const SwirlSpec& kind, std::int32_t blockIndex, SceneReadState& state,
                      Diagnostics& diag) {
  const BlockLines& lines = state.block;
  const std::string n = std::to_string(kind.n);
  if (kind.n > kMaxLiveSwirls) {
    Add(diag, Severity::kWarning, NoteCode::kNAbove500, LineOf(lines.n, lines),
        "n of " + n + " is cut to 500, the most live swirls one kind may have.");
  } else if (kind.n == 0) {
    Add(diag, Severity::kWarning, NoteCode::kNeverLaunches, LineOf(lines.n, lines),
        "n of 0 allows no live swirl, so this kind never launches.");
  } else if (kind.n < 0) {
    Add(diag, Severity::kWarning, NoteCode::kNoLaunchLimit, LineOf(lines.n, lines),
        "n of " + n + " is negative, which sets no limit: this kind may launch up to " +
            std::to_string(kMaxLiveSwirls) + " swirls at once.");
  }
  if (StartsAfterStop(kind)) {
    Add(diag, Severity::kWarning, NoteCode::kStartAfterStop, LineOf(lines.start, lines),
        "start " + std::to_string(kind.start) + " is after stop " + std::to_string(kind.stop) +
            ", so this kind never launches.");
  }
  if (NeverPastStop(kind)) {
    Add(diag, Severity::kInfo, NoteCode::kNeverEnds, LineOf(lines.stop, lines),
        kind.stop == 0 ? "this kind has no stop time, so the show does not end by itself."
                       : "stop " + std::to_string(kind.stop) +
                             " is the last second the show's clock can tell, so the show does "
                             "not end by itself.");
  }
  if (kind.dt < 0) {
    Add(diag, Severity::kWarning, NoteCode::kNegativeDt, LineOf(lines.dt, lines),
        "dt of " + std::to_string(kind.dt) +
            " is negative: each swirl of this kind draws one point, never moves again and "
            "never ends.");
  }
  if (kind.nv == 0) {
    Add(diag, Severity::kWarning, NoteCode::kZeroCount, LineOf(lines.nv, lines),
        "nv of 0 leaves swirls of this kind no point to draw.");
  } else if (kind.bs == 0) {
    Add(diag, Severity::kWarning, NoteCode::kZeroCount, LineOf(lines.bs, lines),
        "bs of 0 gives swirls of this kind a trail of no points, so nothing they draw stays.");
  } else if (kind.bs > kind.nv && lines.bs.line != 0) {
    Add(diag, Severity::kWarning, NoteCode::kBsAboveNv, lines.bs,
        "bs of " + std::to_string(kind.bs) + " is above nv, so the trail is cut to " +
            std::to_string(kind.nv) + " points.");
  }
  if (state.d == 1 && state.dBlock != blockIndex && !state.dCarriedNoted) {
    Add(diag, Severity::kWarning, NoteCode::kDirectionCarried, lines.first,
        "d=1 from line " + std::to_string(state.dLine.line) +
            " of an earlier block is still in force, so this kind and every later one run "
            "reversed until a d=0 line.");
    state.dCarriedNoted = true;
  }
}

}  // namespace zirvo
