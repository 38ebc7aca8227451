#include "platform/win32-saver/ScrLoader.h"

namespace zirvo::scr {

ProgramArgs ScrLoader::ArgsFor(const std::string& scene) const {
  ProgramArgs args;
  args.hasProgram = true;
  args.program = SettingsAnchor(saverPath_, scene, isFile_);
  args.hasScene = !scene.empty();
  args.scene = scene;
  return args;
}

bool ScrLoader::Load(const std::string& scene, const ScreenSize& size, Show& show, ShowTime& time) {
  LoadEnvironment env;
  env.screen = size;
  env.currentDirectory = currentDirectory_;
  env.style = PathStyle::kWindows;
  return LoadScene(show, ArgsFor(scene), env, time) == 1;
}

std::string ScrLoader::SettingsPathFor(const std::string& scene) const {
  const std::string folder = FolderOf(ArgsFor(scene).program);
  return (folder.empty() ? currentDirectory_ + "\\" : folder) + kSettingsFileName;
}

}  // namespace zirvo::scr
