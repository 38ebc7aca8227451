#include "scene/LoadFiles.h"

#include "scene/SceneFile.h"

namespace zirvo {

namespace {

constexpr std::int32_t kMinVirtualSize = 2;

void NoteMissingToken(NoteCode code, bool isScene, Diagnostics* diag) {
  if (diag == nullptr)
    return;
  std::string message;
  if (code == NoteCode::kUnclosedQuote) {
    message = isScene ? "the scene file name opens a double quote that is never closed."
                      : "the program path opens a double quote that is never closed.";
  } else {
    message = isScene ? "no scene file is named on the command line."
                      : "the command line is empty: there is no program path.";
  }
  diag->Add(Severity::kError, code, "", 0, "", std::move(message));
}

// A virtual width or height below 2 leaves the mapping nothing to divide by.
bool VirtualSizeUsable(const Settings& settings, Diagnostics* diag) {
  if (settings.VirtWidth >= kMinVirtualSize && settings.VirtHeight >= kMinVirtualSize)
    return true;
  if (diag != nullptr) {
    const SettingSource& where = settings.screenSource;
    diag->Add(Severity::kError, NoteCode::kVirtualTooSmall, where.file, where.line, where.text,
              "the virtual screen is " + std::to_string(settings.VirtWidth) + "x" +
                  std::to_string(settings.VirtHeight) +
                  " after both files, but it must be at least 2x2; the load stops here.");
  }
  return false;
}

}  // namespace

int LoadFiles(const ProgramArgs& args, const LoadEnvironment& env, LoadedScene& out,
              Diagnostics* diag) {
  FileOpener& opener = env.opener != nullptr ? *env.opener : DefaultFileOpener();
  out.screen = env.screen;
  if (!args.hasProgram) {
    NoteMissingToken(args.programProblem, false, diag);
    return 0;
  }
  // The settings file stands beside the program as the command line names it;
  // a program started by a bare name finds it in the current directory.
  std::string settingsDir;
  if (DirectoryOf(settingsDir, args.program, env.style) == 0) {
    settingsDir = env.currentDirectory + JoinSeparator(env.style);
  }
  out.settingsPath = settingsDir + "zirvo.ini";
  if (ReadSettings(out.settingsPath, env.screen, out.settings, diag, opener) == 0)
    return 0;
  if (!args.hasScene) {
    NoteMissingToken(args.sceneProblem, true, diag);
    return 0;
  }
  out.scenePath = args.scene;
  if (ReadSceneFile(out.scenePath, out.settings, out.specs, diag, opener) == 0)
    return 0;
  if (!VirtualSizeUsable(out.settings, diag))
    return 0;
  out.map = ComputeScreenMap(out.settings, env.screen);
  return 1;
}

}  // namespace zirvo
