// How the tools load a scene: as the program does on this system (the
// executable's real path, zirvo.ini beside it, the system's paths, case kept),
// or with a settings file the user names. The reading itself is the loader's;
// nothing here looks inside the files.
#pragma once

#include <cstdio>
#include <optional>
#include <string>

#include "cli/ProgramPath.h"
#include "scene/CommandLine.h"
#include "scene/Diagnostics.h"
#include "scene/LineReader.h"
#include "scene/LoadFiles.h"

namespace zirvo {

// Opens the user's settings file in place of the zirvo.ini the loader looks for
// beside the program; every other file opens as named.
class SettingsRedirect final : public FileOpener {
 public:
  SettingsRedirect(std::string lookedFor, std::string given)
      : lookedFor_(std::move(lookedFor)), given_(std::move(given)) {}
  std::FILE* Open(const std::string& path) override;

 private:
  std::string lookedFor_;
  std::string given_;
  bool used_ = false;
};

class ToolLoad {
 public:
  ToolLoad(const std::string& programPath, const std::string& scene,
           const std::optional<std::string>& settingsFile, const ScreenSize& screen,
           PathStyle style = SystemPathStyle());
  ToolLoad(const ToolLoad&) = delete;
  ToolLoad& operator=(const ToolLoad&) = delete;

  const ProgramArgs& Args() const { return args_; }
  const LoadEnvironment& Environment() const { return env_; }
  // Where the settings are read from, as a person would name the file.
  const std::string& SettingsPath() const { return settingsPath_; }

  // After the load: notes and paths that name the redirected zirvo.ini name the
  // user's file instead.
  void NameSettingsFile(Diagnostics& diag, LoadedScene& scene) const;

 private:
  ProgramArgs args_;
  LoadEnvironment env_;
  std::string lookedFor_;  // the zirvo.ini path the loader computes
  std::string settingsPath_;
  std::optional<SettingsRedirect> redirect_;
};

}  // namespace zirvo
