// The scene file: blocks of key=value lines, one kind of swirl each, at most 50.
#pragma once

#include <string>

#include "scene/Diagnostics.h"
#include "scene/KindTable.h"
#include "scene/LineReader.h"
#include "scene/Settings.h"

namespace zirvo {

// Reads `scenePath`, appending ".zrv" to it when the name as given cannot be
// opened. Fills `specs`; `screen` and `scale` lines change `settings`.
// 1 read (also with no block at all), 0 failed.
int ReadSceneFile(std::string& scenePath, Settings& settings, SpecTable& specs,
                  Diagnostics* diag = nullptr, FileOpener& opener = DefaultFileOpener());

}  // namespace zirvo
