#include "cli/ToolLoad.h"

#include <filesystem>
#include <system_error>

namespace zirvo {

namespace {

constexpr const char* kSettingsName = "zirvo.ini";

void ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
  if (from.empty())
    return;
  for (std::size_t at = text.find(from); at != std::string::npos;
       at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
}

std::string CurrentDirectory() {
  std::error_code error;
  auto path = std::filesystem::current_path(error);
  return error ? std::string(".") : path.string();
}

}  // namespace

std::FILE* SettingsRedirect::Open(const std::string& path) {
  if (!used_ && path == lookedFor_) {
    used_ = true;
    return std::fopen(given_.c_str(), "r");
  }
  return std::fopen(path.c_str(), "r");
}

ToolLoad::ToolLoad(const std::string& programPath, const std::string& scene,
                   const std::optional<std::string>& settingsFile, const ScreenSize& screen,
                   PathStyle style) {
  args_.hasProgram = true;
  args_.program = programPath;
  args_.hasScene = true;
  args_.scene = scene;
  env_.screen = screen;
  env_.currentDirectory = CurrentDirectory();
  env_.style = style;

  // The path the loader will open for zirvo.ini, from the same rule it uses.
  std::string directory;
  if (DirectoryOf(directory, programPath, style) == 0) {
    directory = env_.currentDirectory + JoinSeparator(style);
  }
  lookedFor_ = directory + kSettingsName;
  settingsPath_ = lookedFor_;
  if (settingsFile) {
    settingsPath_ = *settingsFile;
    redirect_.emplace(lookedFor_, *settingsFile);
    env_.opener = &*redirect_;
  }
}

void ToolLoad::NameSettingsFile(Diagnostics& diag, LoadedScene& scene) const {
  if (!redirect_)
    return;
  for (Note& note : diag.notes) {
    if (note.file != lookedFor_)
      continue;
    note.file = settingsPath_;
    ReplaceAll(note.message, lookedFor_, settingsPath_);
    // The loader's words are about the file beside the program.
    if (note.code == NoteCode::kCannotOpen) {
      note.message = "cannot open the settings file given with --settings.";
    }
  }
  if (scene.settingsPath == lookedFor_)
    scene.settingsPath = settingsPath_;
}

}  // namespace zirvo
