// What the saver shows and where it takes its settings from. The scenes: the
// chosen scene file while it is there; else the sample scenes beside the saver,
// each in turn; else none (the usage banner says what is missing). The
// settings file: the zirvo.ini beside the saver, as zirvo.exe reads its own;
// when the saver was copied alone into the system folder there is none, and
// the one beside the scene file is read instead.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/win32-saver/ScrSettings.h"

namespace zirvo::scr {

// True when `path` names a file that can be read (not a folder).
using IsFile = std::function<bool(const std::string& path)>;

inline constexpr const char* kSettingsFileName = "zirvo.ini";

// REQUIRES: `samples` holds full paths.
std::vector<std::string> ScenesToShow(const ScrSettings& settings,
                                      const std::vector<std::string>& samples,
                                      const IsFile& isFile);

// The program path to hand the loader for `scene`: the loader reads the
// zirvo.ini in that path's folder. The saver's own path when zirvo.ini stands
// beside it, or when there is none beside the scene either (the loader then
// names the missing file beside the saver); else a path in the scene's folder.
std::string SettingsAnchor(const std::string& saverPath, const std::string& scene,
                           const IsFile& isFile);

// The folder part of a Windows path, with its trailing backslash ("c:\a\"),
// or "" when it has none.
std::string FolderOf(const std::string& path);

}  // namespace zirvo::scr
