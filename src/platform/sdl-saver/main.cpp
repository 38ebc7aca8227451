// zirvo-saver: the show as a screensaver (on a host's window or the root
// window), full screen on one monitor or all, or in a window of its own as a
// live preview for scene writers. See zirvo-saver(6).
//
// Exit status: 0 stopped (a signal, the host's window gone, the window
// closed); 1 the display cannot be used; 2 bad usage, or a scene or settings
// file that cannot be read.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "cli/ToolLoad.h"
#include "platform/sdl-saver/SaverApp.h"
#include "platform/sdl-saver/SaverOptions.h"
#include "platform/sdl-saver/SaverPaths.h"
#include "report/NoteFormat.h"

namespace {

using namespace zirvo;
using namespace zirvo::saver;

constexpr int kBadUsage = 2;

int UsageError(const std::string& message) {
  std::fprintf(stderr, "zirvo-saver: %s (zirvo-saver --help shows the options)\n",
               Printable(message).c_str());
  return kBadUsage;
}

// The scene as the loader will open it: as named, else with ".zrv" appended.
// Empty, with `why` set, when neither can be read.
std::string ReadableScene(const std::string& scene, std::string& why) {
  why = WhyUnreadable(scene);
  if (why.empty())
    return scene;
  if (WhyUnreadable(scene + ".zrv").empty())
    return scene + ".zrv";
  return "";
}

// The scenes to show, each readable; or a usage error.
int CollectScenes(const SaverOptions& options, const std::string& programDirectory,
                  std::vector<std::string>& scenes) {
  std::vector<std::string> named = options.scenes;
  if (options.watch)
    named = {*options.watch};
  for (const std::string& directory : options.sceneDirectories) {
    std::string error;
    const std::size_t before = named.size();
    if (!ScenesIn(directory, named, error))
      return UsageError("cannot list the scenes in " + directory + ": " + error);
    if (named.size() == before)
      return UsageError("there is no *.zrv scene in " + directory);
  }
  if (named.empty() && options.sceneDirectories.empty()) {
    const std::string samples = SampleScenesDirectory(programDirectory);
    std::string error;
    if (samples.empty() || !ScenesIn(samples, named, error) || named.empty())
      return UsageError("no sample scenes are installed beside " + programDirectory +
                        "; name scenes with --scene or --scenes");
  }
  for (const std::string& scene : named) {
    std::string why;
    const std::string readable = ReadableScene(scene, why);
    if (readable.empty())
      return UsageError("cannot read the scene " + scene + ": " + why);
    scenes.push_back(readable);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const ParsedSaverOptions parsed =
      ParseSaverOptions(std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc));
  if (!parsed.error.empty())
    return UsageError(parsed.error);

  SaverSetup setup;
  setup.options = parsed.options;
  // A host that starts it with no mode at all but hands it a window (as
  // xsecurelock does with a program of its own) wants that window drawn on,
  // not a window of its own nobody would see under the host's.
  const char* hostWindow = std::getenv("XSCREENSAVER_WINDOW");
  if (!setup.options.modeGiven && hostWindow != nullptr && *hostWindow != '\0')
    setup.options.mode = SaverMode::kRoot;
  setup.programPath = RealProgramPath(argc > 0 ? argv[0] : "zirvo-saver");
  const std::string directory = ProgramDirectory(setup.programPath);
  if (setup.options.settings) {
    const std::string why = WhyUnreadable(*setup.options.settings);
    if (!why.empty())
      return UsageError("cannot read the settings file " + *setup.options.settings + ": " + why);
    setup.settings = setup.options.settings;
  } else {
    setup.settings = DefaultSettingsFile(directory);
  }

  if (setup.options.help) {
    std::fputs(kSaverUsage, stdout);
    const std::string samples = SampleScenesDirectory(directory);
    std::printf("\nSample scenes: %s\nSettings: %s\n",
                samples.empty() ? "(none found)" : samples.c_str(),
                setup.settings ? setup.settings->c_str() : "(no zirvo.ini found)");
    return 0;
  }
  if (const int error = CollectScenes(setup.options, directory, setup.scenes); error != 0)
    return error;
  if (!setup.settings) {
    std::fprintf(stderr, "zirvo-saver: no zirvo.ini beside %s or the installed zirvo\n",
                 directory.c_str());
  }
  CatchStopSignals();
  return RunSaver(setup);
}
