// zirvo SCENE: the show on an SDL2 display. The settings file zirvo.ini is read
// from the directory of the executable (its real path), else the current one.
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "app/Shell.h"
#include "platform/sdl/SdlPlatform.h"

namespace {

std::string ExecutablePath(const char* argv0) {
  std::error_code error;
  auto path = std::filesystem::canonical("/proc/self/exe", error);
  if (!error)
    return path.string();
  path = std::filesystem::canonical(argv0 != nullptr ? argv0 : "", error);
  return error ? std::string(argv0 != nullptr ? argv0 : "") : path.string();
}

}  // namespace

int main(int argc, char** argv) {
  zirvo::SdlPlatform platform;
  std::string error;
  if (!platform.Open(error)) {
    std::fprintf(stderr, "zirvo: cannot open the display (is DISPLAY set?): %s\n", error.c_str());
    return 1;
  }
  zirvo::Shell shell(platform);
  platform.Attach(shell);

  zirvo::Launch launch;
  launch.style = zirvo::PathStyle::kPosix;
  launch.args = zirvo::ArgsFromArgv(ExecutablePath(argc > 0 ? argv[0] : nullptr),
                                    std::vector<std::string>(argv, argv + argc));
  const int exitCode = shell.Run(launch);
  if (!platform.WindowError().empty()) {
    std::fprintf(stderr, "zirvo: %s\n", platform.WindowError().c_str());
    return 1;
  }
  return exitCode;
}
