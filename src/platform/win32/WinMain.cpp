// The program's entry: the whole command line goes to the shell, which runs the
// start-up, the window and the drawing thread, and returns the exit code.
#include "platform/win32/WinApi.h"

#include "app/Shell.h"
#include "platform/win32/Win32Platform.h"

namespace {

// How long the end of the program waits for the drawing thread to leave its
// pass. A pass with a long delay may outlast it; the process then ends with the
// thread still running, without tearing down the objects it works on.
constexpr DWORD kDrawingThreadStopMs = 2000;

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR /*commandLine*/, int showCommand) {
  if (previous != nullptr)
    return 0;

  zirvo::win32::Win32Platform platform(instance, showCommand);
  zirvo::Shell shell(platform);
  platform.Attach(shell);

  zirvo::Launch launch;
  launch.style = zirvo::PathStyle::kWindows;
  launch.commandLine = GetCommandLineA();

  const int exitCode = shell.Run(launch);
  shell.RequestStop();
  if (!platform.WaitForDrawingThread(kDrawingThreadStopMs)) {
    ExitProcess(static_cast<UINT>(exitCode));
  }
  return exitCode;
}
