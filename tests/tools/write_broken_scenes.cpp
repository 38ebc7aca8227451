// Writes the broken scenes of BrokenScenes.h as files, for zirvo-check.exe
// under Wine (tests/wine): DIR/NN/scene.zrv and DIR/NN/settings.ini, and in
// DIR/NN/expected the exit status and the "file:line: severity:" the report
// must hold. Line ends: LF, or CR LF with --crlf.
//   write_broken_scenes [--crlf] DIR
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "BrokenScenes.h"

namespace {

bool WriteFile(const std::filesystem::path& path, const std::string& text, bool crlf) {
  std::string bytes;
  for (char c : text) {
    if (c == '\n' && crlf)
      bytes += '\r';
    bytes += c;
  }
  std::ofstream out(path, std::ios::binary);
  out << bytes;
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  const bool crlf = argc == 3 && std::string(argv[1]) == "--crlf";
  if (argc != (crlf ? 3 : 2)) {
    std::fputs("usage: write_broken_scenes [--crlf] DIR\n", stderr);
    return 2;
  }
  const std::filesystem::path root = argv[argc - 1];
  int number = 0;
  for (const zirvo::testing::BrokenScene& b : zirvo::testing::BrokenScenes()) {
    ++number;
    const std::filesystem::path dir = root / ((number < 10 ? "0" : "") + std::to_string(number));
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    const std::string settings =
        b.settings != nullptr ? b.settings : zirvo::testing::kBrokenScenesSettings;
    const std::string expected = std::to_string(b.status) + "\n" + b.where + "\n" + b.name + "\n";
    if (error || (b.scene != nullptr && !WriteFile(dir / "scene.zrv", b.scene, crlf)) ||
        !WriteFile(dir / "settings.ini", settings, crlf) ||
        !WriteFile(dir / "expected", expected, false)) {
      std::fprintf(stderr, "write_broken_scenes: cannot write %s\n", dir.string().c_str());
      return 1;
    }
  }
  return 0;
}
