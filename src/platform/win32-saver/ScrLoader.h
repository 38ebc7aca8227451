// Loads the saver's scenes as zirvo.exe loads its one: Windows paths, the
// settings file found by SettingsAnchor, the scene opened as named (or with
// ".zrv" added). Nobody reads notes on a screensaver: a scene that does not
// load shows the usage banner for a while (SaverShow).
#pragma once

#include <string>

#include "app/SaverShow.h"
#include "platform/win32-saver/ScrScenes.h"

namespace zirvo::scr {

class ScrLoader final : public SceneLoader {
 public:
  ScrLoader(std::string saverPath, std::string currentDirectory, IsFile isFile)
      : saverPath_(std::move(saverPath)),
        currentDirectory_(std::move(currentDirectory)),
        isFile_(std::move(isFile)) {}

  bool Load(const std::string& scene, const ScreenSize& size, Show& show, ShowTime& time) override;

  // The settings file a load of `scene` reads.
  std::string SettingsPathFor(const std::string& scene) const override;

 private:
  ProgramArgs ArgsFor(const std::string& scene) const;

  std::string saverPath_;
  std::string currentDirectory_;
  IsFile isFile_;
};

}  // namespace zirvo::scr
