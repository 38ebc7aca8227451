// The broken scenes zirvo-check is tried on: one mistake each, the verdict it
// earns and where the report points. The Linux tool runs on them as a process,
// the Windows reading in-process, and zirvo-check.exe under Wine against the
// Linux tool (tests/wine) on the files write_broken_scenes makes of them.
#pragma once

#include <span>

namespace zirvo::testing {

struct BrokenScene {
  const char* name;
  const char* scene;     // written as scene.zrv; null: no file at all
  const char* settings;  // replaces the usual settings.ini when not null
  int status;
  const char* where;  // expected "file:line: severity:" in the report
  const char* code;   // the note's code in the JSON report
};

// The usual settings.ini beside them.
inline constexpr const char* kBrokenScenesSettings = "screen=640x480\nscale=u\n";

std::span<const BrokenScene> BrokenScenes();

}  // namespace zirvo::testing
