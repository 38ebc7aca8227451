#include "platform/sdl-saver/FileWatch.h"

#include <system_error>

namespace zirvo::saver {

FileWatch::FileWatch(std::vector<std::string> paths) {
  for (std::string& path : paths) {
    const Seen now = Look(path);
    files_.push_back(Watched{std::move(path), now, now});
  }
}

FileWatch::Seen FileWatch::Look(const std::string& path) {
  Seen seen;
  std::error_code error;
  const auto status = std::filesystem::status(path, error);
  if (error || !std::filesystem::is_regular_file(status))
    return seen;
  seen.size = std::filesystem::file_size(path, error);
  if (error)
    return Seen{};
  seen.written = std::filesystem::last_write_time(path, error);
  if (error)
    return Seen{};
  seen.exists = true;
  return seen;
}

std::string FileWatch::Poll(std::uint64_t nowNs) {
  if (nowNs < nextLookNs_)
    return "";
  nextLookNs_ = nowNs + kLookNs;
  std::string changed;
  for (Watched& file : files_) {
    const Seen now = Look(file.path);
    const bool settled = now == file.last;
    file.last = now;
    if (settled && now.exists && !(now == file.reported) && changed.empty()) {
      file.reported = now;
      changed = file.path;
    }
  }
  return changed;
}

}  // namespace zirvo::saver
