// A saver's scene loader for tests: scenes in a temporary directory, read with
// the zirvo.ini beside a program there (prog/zirvo.ini). Header-only.
#pragma once

#include <string>

#include "app/SaverShow.h"
#include "engine/Show.h"
#include "support/TempDir.h"

namespace zirvo::testing {

class DirectoryLoader final : public SceneLoader {
 public:
  DirectoryLoader(const TempDir& dir, const std::string& settings) : dir_(dir) {
    dir_.Write("prog/zirvo.ini", settings);
  }
  bool Load(const std::string& scene, const ScreenSize& size, Show& show, ShowTime& time) override {
    ProgramArgs args;
    args.hasProgram = true;
    args.program = dir_.PathOf("prog/zirvo");
    args.hasScene = true;
    args.scene = dir_.PathOf(scene);
    LoadEnvironment env;
    env.screen = size;
    env.currentDirectory = dir_.path().string();
    env.style = PathStyle::kPosix;
    ++loads;
    return LoadScene(show, args, env, time) == 1;
  }
  std::string SettingsPathFor(const std::string&) const override {
    return dir_.PathOf("prog/zirvo.ini");
  }
  int loads = 0;

 private:
  const TempDir& dir_;
};

}  // namespace zirvo::testing
