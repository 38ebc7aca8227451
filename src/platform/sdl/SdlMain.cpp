#include "platform/sdl/SdlMain.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "app/Shell.h"
#include "platform/sdl/SdlPlatform.h"

namespace zirvo {

namespace {

// The settings file is read from the directory of the executable: its real
// path, through any links to it.
std::string ExecutablePath(const char* argv0) {
  std::error_code error;
  auto path = std::filesystem::canonical("/proc/self/exe", error);
  if (!error)
    return path.string();
  path = std::filesystem::canonical(argv0 != nullptr ? argv0 : "", error);
  return error ? std::string(argv0 != nullptr ? argv0 : "") : path.string();
}

}  // namespace

int RunZirvo(int argc, char** argv, SdlObserver* observer) {
  SdlPlatform platform;
  platform.SetObserver(observer);
  std::string error;
  if (!platform.Open(error)) {
    std::fprintf(stderr,
                 "zirvo: cannot open the display (is DISPLAY or WAYLAND_DISPLAY set?): %s\n",
                 error.c_str());
    return 1;
  }
  Shell shell(platform);
  platform.Attach(shell);

  Launch launch;
  launch.style = PathStyle::kPosix;
  launch.args = ArgsFromArgv(ExecutablePath(argc > 0 ? argv[0] : nullptr),
                             std::vector<std::string>(argv, argv + argc));
  const int exitCode = shell.Run(launch);
  if (!platform.WindowError().empty()) {
    std::fprintf(stderr, "zirvo: %s\n", platform.WindowError().c_str());
    return 1;
  }
  return exitCode;
}

}  // namespace zirvo
