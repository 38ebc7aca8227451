#include "platform/sdl-saver/SaverPaths.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace zirvo::saver {

namespace fs = std::filesystem;

namespace {

// From the installed program's directory (<prefix>/libexec/xscreensaver) to
// <prefix>/bin and <prefix>/share/zirvo/scenes; the build computes them from
// the install directories.
#ifndef ZIRVO_SAVER_TO_BINDIR
#define ZIRVO_SAVER_TO_BINDIR "../../bin"
#endif
#ifndef ZIRVO_SAVER_TO_SCENES
#define ZIRVO_SAVER_TO_SCENES "../../share/zirvo/scenes"
#endif
// Beside the program in the build tree.
constexpr const char* kBuildTreeScenes = "sample-scenes";
constexpr const char* kSettingsName = "zirvo.ini";

bool IsDirectory(const fs::path& path) {
  std::error_code error;
  return fs::is_directory(path, error);
}

bool IsFile(const fs::path& path) {
  std::error_code error;
  return fs::is_regular_file(path, error);
}

std::string Normal(const fs::path& path) {
  return path.lexically_normal().string();
}

}  // namespace

std::string ProgramDirectory(const std::string& programPath) {
  const fs::path parent = fs::path(programPath).parent_path();
  return parent.empty() ? std::string(".") : parent.string();
}

std::string SampleScenesDirectory(const std::string& programDirectory) {
  for (const char* relative : {ZIRVO_SAVER_TO_SCENES, kBuildTreeScenes}) {
    const fs::path candidate = fs::path(programDirectory) / relative;
    if (IsDirectory(candidate))
      return Normal(candidate);
  }
  return "";
}

std::optional<std::string> DefaultSettingsFile(const std::string& programDirectory) {
  for (const fs::path& candidate :
       {fs::path(programDirectory) / kSettingsName,
        fs::path(programDirectory) / ZIRVO_SAVER_TO_BINDIR / kSettingsName}) {
    if (IsFile(candidate))
      return Normal(candidate);
  }
  return std::nullopt;
}

bool ScenesIn(const std::string& directory, std::vector<std::string>& scenes, std::string& error) {
  std::error_code code;
  fs::directory_iterator it(directory, code);
  if (code) {
    error = code.message();
    return false;
  }
  std::vector<std::string> found;
  for (const fs::directory_entry& entry : it) {
    if (entry.path().extension() == ".zrv" && IsFile(entry.path()))
      found.push_back(entry.path().string());
  }
  std::sort(found.begin(), found.end());
  scenes.insert(scenes.end(), found.begin(), found.end());
  return true;
}

std::string WhyUnreadable(const std::string& path) {
  if (IsDirectory(path))
    return "is a directory";
  std::FILE* file = std::fopen(path.c_str(), "r");
  if (file == nullptr)
    return std::strerror(errno);
  std::fclose(file);
  return "";
}

}  // namespace zirvo::saver
