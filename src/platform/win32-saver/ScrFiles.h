// The saver's questions to the file system: its own path, the sample scenes
// beside it, whether a file is there, the current folder.
#pragma once

#include "platform/win32/WinApi.h"

#include <string>
#include <vector>

namespace zirvo::scr {

// The full path of the running program (zirvo.scr), however long.
std::string SaverPath();

// The *.zrv files directly in `folder` (given with its trailing backslash), as
// full paths, sorted by name without regard to case.
std::vector<std::string> SampleScenesIn(const std::string& folder);

// True when `path` names something that is there and is not a folder.
bool IsExistingFile(const std::string& path);

// Without a trailing backslash ("c:\" gives "c:").
std::string CurrentFolder();

}  // namespace zirvo::scr
