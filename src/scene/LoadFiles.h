// The file part of loading a scene: command line, settings file beside the
// program (or in the current directory), scene file, screen mapping.
#pragma once

#include <string>

#include "scene/CommandLine.h"
#include "scene/Diagnostics.h"
#include "scene/KindTable.h"
#include "scene/LineReader.h"
#include "scene/ScreenMap.h"
#include "scene/Settings.h"

namespace zirvo {

// What the load needs from the machine.
struct LoadEnvironment {
  ScreenSize screen;
  std::string currentDirectory;  // as the platform reports it, without a trailing separator
  PathStyle style = PathStyle::kWindows;
  FileOpener* opener = nullptr;  // null: the standard library's fopen
};

// Everything the files give, plus the paths they were found at.
struct LoadedScene {
  Settings settings;
  SpecTable specs;
  ScreenMap map;
  ScreenSize screen;
  std::string settingsPath;
  std::string scenePath;  // as finally opened (".zrv" may have been appended)
};

// 1 when both files were read and the mapping computed, 0 otherwise. What the
// steps before a failure set stays set in `out` (a settings file read before a
// missing scene name keeps its WaitCount).
int LoadFiles(const ProgramArgs& args, const LoadEnvironment& env, LoadedScene& out,
              Diagnostics* diag = nullptr);

}  // namespace zirvo
