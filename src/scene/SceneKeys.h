// The key lines of a scene block: what each key does to the kind being read,
// and what the reader remembers about the block for its end-of-block notes.
#pragma once

#include <cstdint>
#include <string_view>

#include "scene/Diagnostics.h"
#include "scene/KindTable.h"
#include "scene/Settings.h"

namespace zirvo {

// The lines that set the values the end-of-block notes look at. Kept only
// while notes are taken.
struct BlockLines {
  SettingSource first;  // the block's first key line
  SettingSource n, nv, bs, dt, start, stop;
};

// The state of one read of a scene file besides the table itself.
struct SceneReadState {
  std::int32_t d = 0;  // direction value, in force until the next d line
  // For notes: the d line in force, the block it stands in, and whether a
  // later block that inherits it has been noted already.
  SettingSource dLine;
  std::int32_t dBlock = -1;
  bool dCarriedNoted = false;
  BlockLines block;
};

// Applies one key line (any key but screen and scale) to `spec`.
void ApplyKindKey(std::string_view key, std::string_view value, SwirlSpec& spec,
                  SceneReadState& state, std::int32_t blockIndex, Diagnostics* diag,
                  const LineOrigin& origin);

// The notes about a finished block, from its values before SpecFinish.
void NoteFinishedKind(const SwirlSpec& kind, std::int32_t blockIndex, SceneReadState& state,
                      Diagnostics& diag);

}  // namespace zirvo
