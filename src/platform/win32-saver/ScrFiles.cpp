#include "platform/win32-saver/ScrFiles.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "core/Ascii.h"
#include "platform/win32/ModulePath.h"

namespace zirvo::scr {

namespace {

bool EndsWithSceneSuffix(std::string name) {
  // A pattern's match on the short 8.3 name also lets "x.zrvold" through.
  LowerAscii(name);
  return name.size() > 4 && name.compare(name.size() - 4, 4, ".zrv") == 0;
}

}  // namespace

std::string SaverPath() {
  return win32::ModulePath();
}

std::vector<std::string> SampleScenesIn(const std::string& folder) {
  std::vector<std::pair<std::string, std::string>> found;  // lower-cased name, path
  WIN32_FIND_DATAA data{};
  HANDLE search = FindFirstFileA((folder + "*.zrv").c_str(), &data);
  if (search == INVALID_HANDLE_VALUE)
    return {};
  do {
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ||
        !EndsWithSceneSuffix(data.cFileName))
      continue;
    std::string key = data.cFileName;
    LowerAscii(key);
    found.emplace_back(std::move(key), folder + data.cFileName);
  } while (FindNextFileA(search, &data) != 0);
  FindClose(search);
  std::sort(found.begin(), found.end());
  std::vector<std::string> scenes;
  for (auto& entry : found)
    scenes.push_back(std::move(entry.second));
  return scenes;
}

bool IsExistingFile(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::string CurrentFolder() {
  std::error_code error;
  std::string folder = std::filesystem::current_path(error).string();
  if (error)
    return ".";
  if (!folder.empty() && folder.back() == '\\')
    folder.pop_back();
  return folder;
}

}  // namespace zirvo::scr
