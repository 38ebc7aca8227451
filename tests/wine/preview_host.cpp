// The host of a screensaver preview, as the Display settings are one: a
// 152x112 window of this process, and zirvo.scr started with /p and that
// window's handle. It reports the saver's child window (its size, and that it
// belongs to the saver's process), waits until told to go on (GO_FILE appears;
// meanwhile the test looks at the pixels), destroys its window and reports how
// soon the saver ended and with which exit code. Every wait is bounded.
//   preview-host SCR GO_FILE
// Exit status: 0 when the saver showed its child window and ended with 0
// within 3 s of the window's end; 1 otherwise; 2 on bad usage.
#include "platform/win32/WinApi.h"

#include <cstdint>
#include <cstdio>
#include <string>

namespace {

constexpr int kWidth = 152;
constexpr int kHeight = 112;
constexpr DWORD kChildTimeoutMs = 60'000;
constexpr DWORD kGoTimeoutMs = 120'000;
constexpr DWORD kEndTimeoutMs = 10'000;
constexpr DWORD kEndLimitMs = 3'000;

struct ChildSearch {
  DWORD process;
  HWND found;
};

BOOL CALLBACK CheckChild(HWND child, LPARAM search) {
  auto& s = *reinterpret_cast<ChildSearch*>(search);
  DWORD process = 0;
  GetWindowThreadProcessId(child, &process);
  if (process == s.process) {
    s.found = child;
    return FALSE;
  }
  return TRUE;
}

// Serves this thread's messages (the saver's child window sends its parent
// some) until `done` says so or `timeoutMs` pass; false on the time-out.
template <typename Done>
bool PumpUntil(Done done, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) != 0) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    if (done())
      return true;
    const DWORD spent = GetTickCount() - start;
    if (spent >= timeoutMs)
      return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
  }
}

bool Exists(const char* path) {
  return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fputs("usage: preview-host SCR GO_FILE\n", stderr);
    return 2;
  }
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = &DefWindowProcA;
  windowClass.hInstance = instance;
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
  windowClass.lpszClassName = "ZirvoPreviewHost";
  RegisterClassA(&windowClass);
  // A popup has no frame: its client area is the whole 152x112.
  HWND host = CreateWindowExA(0, "ZirvoPreviewHost", "Zirvo preview host", WS_POPUP | WS_VISIBLE,
                              40, 40, kWidth, kHeight, nullptr, nullptr, instance, nullptr);
  if (host == nullptr) {
    std::puts("host: cannot create its window");
    return 1;
  }
  RECT client{};
  GetClientRect(host, &client);
  std::printf("host: window %lu, client %ldx%ld at 40,40\n",
              static_cast<unsigned long>(reinterpret_cast<std::uintptr_t>(host)),
              client.right - client.left, client.bottom - client.top);

  std::string command = "\"" + std::string(argv[1]) + "\" /p " +
                        std::to_string(reinterpret_cast<std::uintptr_t>(host));
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION saver{};
  if (CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                     &startup, &saver) == 0) {
    std::printf("host: cannot start %s (error %lu)\n", command.c_str(), GetLastError());
    return 1;
  }
  std::printf("host: started %s\n", command.c_str());
  std::fflush(stdout);

  ChildSearch search{saver.dwProcessId, nullptr};
  const bool shown = PumpUntil(
      [&] {
        EnumChildWindows(host, &CheckChild, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr || WaitForSingleObject(saver.hProcess, 0) == WAIT_OBJECT_0;
      },
      kChildTimeoutMs);
  if (!shown || search.found == nullptr) {
    DWORD code = 0;
    GetExitCodeProcess(saver.hProcess, &code);
    std::printf("host: no child window of the saver's process (%s, exit code %lu)\n",
                shown ? "it ended" : "timed out", code);
    TerminateProcess(saver.hProcess, 1);
    return 1;
  }
  RECT child{};
  GetClientRect(search.found, &child);
  std::printf("host: child %ldx%ld of the saver's process\n", child.right - child.left,
              child.bottom - child.top);
  std::puts("host: ready");
  std::fflush(stdout);

  if (!PumpUntil([&] { return Exists(argv[2]); }, kGoTimeoutMs)) {
    std::puts("host: never told to go on");
    TerminateProcess(saver.hProcess, 1);
    return 1;
  }
  // The saver's time runs from when the window is gone: DestroyWindow itself
  // may take a while (Wine without a window manager waits up to 2 s for the X
  // server to unmap the window).
  const DWORD destroying = GetTickCount();
  DestroyWindow(host);
  const DWORD destroyed = GetTickCount();
  std::printf("host: its window was destroyed in %lu ms\n", destroyed - destroying);
  const bool ended = PumpUntil(
      [&] { return WaitForSingleObject(saver.hProcess, 0) == WAIT_OBJECT_0; }, kEndTimeoutMs);
  const DWORD afterMs = GetTickCount() - destroyed;
  DWORD code = 0;
  GetExitCodeProcess(saver.hProcess, &code);
  if (!ended) {
    std::printf("host: the saver still runs %lu ms after its window went away\n", afterMs);
    TerminateProcess(saver.hProcess, 1);
    return 1;
  }
  std::printf("host: the saver ended %lu ms after its window went away, exit code %lu\n", afterMs,
              code);
  CloseHandle(saver.hThread);
  CloseHandle(saver.hProcess);
  return code == 0 && afterMs <= kEndLimitMs ? 0 : 1;
}
