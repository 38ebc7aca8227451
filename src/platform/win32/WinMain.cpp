// The program's entry: the whole command line, read in lower case, gives the
// program's path and the scene; the shell runs the start-up, the window, the
// drawing thread and the message loop, and returns the exit code (the loop's
// WM_QUIT wParam).
#include "app/Shell.h"
#include "platform/win32/Win32Platform.h"
#include "platform/win32/WinApi.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR /*commandLine*/, int showCommand) {
  if (previous != nullptr)
    return 0;

  zirvo::win32::Win32Platform platform(instance, showCommand);
  zirvo::Shell shell(platform);
  platform.Attach(shell);

  zirvo::Launch launch;
  launch.style = zirvo::PathStyle::kWindows;
  launch.args = zirvo::ArgsFromWindowsCommandLine(GetCommandLineA());
  return shell.Run(launch);
}
