#include "render/PartialFile.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace zirvo::tools {

namespace {

// The temporary files in being, for the signal handler: it may only unlink.
constexpr std::size_t kSlots = 16;
std::array<std::atomic<const char*>, kSlots> gPartialPaths{};

extern "C" void RemovePartialFilesAndStop(int number) {
  for (auto& slot : gPartialPaths) {
    if (const char* path = slot.load())
      unlink(path);
  }
  ::signal(number, SIG_DFL);
  raise(number);
}

void WatchStopSignals() {
  static const bool installed = [] {
    for (int number : {SIGINT, SIGTERM, SIGHUP}) {
      struct sigaction action {};
      action.sa_handler = &RemovePartialFilesAndStop;
      sigemptyset(&action.sa_mask);
      sigaction(number, &action, nullptr);
    }
    return true;
  }();
  (void)installed;
}

int TakeSlot(const char* path) {
  for (std::size_t i = 0; i < kSlots; ++i) {
    const char* empty = nullptr;
    if (gPartialPaths[i].compare_exchange_strong(empty, path))
      return static_cast<int>(i);
  }
  return -1;
}

std::string CannotCreate(int error) {
  return std::string("cannot be created (") + std::strerror(error) + ")";
}

}  // namespace

PartialFile::PartialFile(std::string target) : target_(std::move(target)) {
  // Through a symbolic link the file it names is replaced, not the link.
  struct stat link {};
  if (lstat(target_.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
    std::error_code error;
    const auto real = std::filesystem::canonical(target_, error);
    if (!error)
      target_ = real.string();
  }
  struct stat status {};
  if (stat(target_.c_str(), &status) == 0 && S_ISDIR(status.st_mode)) {
    error_ = CannotCreate(EISDIR);
    return;
  }
  WatchStopSignals();
  path_ = target_ + "." + std::to_string(getpid()) + ".partial";
  const int fd = open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) {
    error_ = CannotCreate(errno);
    return;
  }
  close(fd);
  present_ = true;
  slot_ = TakeSlot(path_.c_str());
}

PartialFile::~PartialFile() {
  Remove();
}

void PartialFile::Remove() {
  if (present_)
    unlink(path_.c_str());
  present_ = false;
  if (slot_ >= 0)
    gPartialPaths[static_cast<std::size_t>(slot_)].store(nullptr);
  slot_ = -1;
}

bool PartialFile::Commit() {
  if (!present_)
    return false;
  if (std::rename(path_.c_str(), target_.c_str()) != 0) {
    error_ = std::string("cannot be put in place (") + std::strerror(errno) + ")";
    Remove();
    return false;
  }
  present_ = false;
  Remove();
  return true;
}

}  // namespace zirvo::tools
