// A fresh directory under the system's temporary directory, removed with its
// contents at the end of the test; files written into it are real files.
#pragma once

#include <filesystem>
#include <string>

namespace zirvo::testing {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // Writes `content` (bytes as given) to `name` inside the directory; returns its path.
  std::string Write(const std::string& name, const std::string& content) const;
  std::string PathOf(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

}  // namespace zirvo::testing
