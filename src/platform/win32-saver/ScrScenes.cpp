#include "platform/win32-saver/ScrScenes.h"

#include "scene/CommandLine.h"

namespace zirvo::scr {

std::string FolderOf(const std::string& path) {
  std::string folder;
  if (DirectoryOf(folder, path, PathStyle::kWindows) == 0)
    return {};
  return folder;
}

std::vector<std::string> ScenesToShow(const ScrSettings& settings,
                                      const std::vector<std::string>& samples,
                                      const IsFile& isFile) {
  if (!settings.scene.empty() && isFile(settings.scene))
    return {settings.scene};
  return samples;
}

std::string SettingsAnchor(const std::string& saverPath, const std::string& scene,
                           const IsFile& isFile) {
  if (isFile(FolderOf(saverPath) + kSettingsFileName))
    return saverPath;
  const std::string sceneFolder = FolderOf(scene);
  if (!sceneFolder.empty() && isFile(sceneFolder + kSettingsFileName))
    return sceneFolder + "zirvo.scr";
  return saverPath;
}

}  // namespace zirvo::scr
