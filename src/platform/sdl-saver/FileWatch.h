// Notices when files are saved, by looking at their size and modification time
// a few times a second: portable, and it follows editors that save by writing
// a new file and renaming it over the old one.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace zirvo::saver {

class FileWatch {
 public:
  static constexpr std::uint64_t kLookNs = 200'000'000;

  explicit FileWatch(std::vector<std::string> paths);

  // Looks at the files when a look is due. Returns the path of a file that
  // changed and has stayed the same since the look before (a file half
  // written is not reported until it is done); empty otherwise.
  std::string Poll(std::uint64_t nowNs);

 private:
  struct Seen {
    bool exists = false;
    std::uintmax_t size = 0;
    std::filesystem::file_time_type written{};
    bool operator==(const Seen&) const = default;
  };
  struct Watched {
    std::string path;
    Seen reported;  // as it was when last reported (or at the start)
    Seen last;      // as the last look found it
  };

  static Seen Look(const std::string& path);

  std::vector<Watched> files_;
  std::uint64_t nextLookNs_ = 0;
};

}  // namespace zirvo::saver
