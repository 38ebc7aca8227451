// zirvo.scr's entry: the switch Windows starts it with chooses the show over
// the whole desktop (/s), the preview in a host's window (/p HWND) or the
// settings dialog (/c, or nothing). Every way ends with exit code 0.
#include <cstdint>

#include "platform/win32-saver/RegistryStore.h"
#include "platform/win32-saver/ScrCommandLine.h"
#include "platform/win32-saver/ScrFiles.h"
#include "platform/win32-saver/ScrScenes.h"
#include "platform/win32-saver/ScrWindow.h"
#include "platform/win32-saver/SettingsDialog.h"
#include "platform/win32/WinApi.h"

namespace {

HWND WindowOf(std::uint32_t handle) {
  return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(handle));
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*commandLine*/,
                   int /*showCommand*/) {
  using namespace zirvo::scr;
  const ScrCommand command = ParseScrCommandLine(GetCommandLineA());
  switch (command.mode) {
    case ScrMode::kPassword:
      return 0;
    case ScrMode::kSettings:
      return RunSettingsDialog(instance, WindowOf(command.window));
    case ScrMode::kShow:
    case ScrMode::kPreview:
      break;
  }
  const HWND parent = WindowOf(command.window);
  if (command.mode == ScrMode::kPreview && (parent == nullptr || IsWindow(parent) == 0))
    return 0;

  RegistryStore store;
  ScrSetup setup;
  setup.instance = instance;
  setup.saverPath = SaverPath();
  setup.settings = ReadScrSettings(store);
  setup.scenes =
      ScenesToShow(setup.settings, SampleScenesIn(FolderOf(setup.saverPath)), &IsExistingFile);
  return command.mode == ScrMode::kShow ? RunFullScreen(setup) : RunPreview(setup, parent);
}
