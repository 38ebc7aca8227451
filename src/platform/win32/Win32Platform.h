// The Windows side of the shell: the window class and the full-screen popup
// window, the window procedure that turns messages into Shell calls, the banner
// drawn with GDI text, the drawing thread started with CreateThread, pixels on
// display device contexts, and the C runtime's clocks.
#pragma once

#include "platform/win32/WinApi.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "app/Shell.h"
#include "app/ShellPlatform.h"
#include "platform/win32/DisplayDevice.h"

namespace zirvo::win32 {

inline constexpr const char* kClassName = "Zirvo";
inline constexpr UINT kClassStyle = CS_BYTEALIGNCLIENT | CS_HREDRAW | CS_VREDRAW;
inline constexpr ::COLORREF kBannerColour = 0x0080FF80;
// The drawing thread's requested stack. Windows rounds it up to a page and
// reserves the executable's default (SizeOfStackReserve) for it to grow into.
inline constexpr SIZE_T kDrawingThreadStack = 1024;

// clock() in milliseconds (the C runtime's clock is wall time since start).
class CrtClock final : public MillisecondClock {
 public:
  std::uint32_t ElapsedMs() override;
};

class Win32Platform final : public ShellPlatform {
 public:
  Win32Platform(HINSTANCE instance, int showCommand);
  ~Win32Platform() override;
  Win32Platform(const Win32Platform&) = delete;
  Win32Platform& operator=(const Win32Platform&) = delete;

  // The shell whose handlers the window procedure calls.
  void Attach(Shell& shell) { shell_ = &shell; }

  bool InitWindow(ScreenSize& screen) override;
  void ShowAndUpdate() override;

  void HideCursor() override;
  void DefaultPaint() override;
  void PaintBanner(const std::string& text, const BannerPlacement& place) override;

  void PostQuit() override;
  void PostQuitFromDrawingThread() override;
  bool StartDrawingThread(std::function<void()> body) override;
  int RunMessageLoop() override;
  bool JoinDrawingThread(const std::function<bool()>& exited, std::uint32_t timeoutMs) override;

  PixelSink& Display() override;
  void RunCalibrationWork(std::uint32_t trialWait) override;

  std::int64_t Time() override;
  MillisecondClock& Clock() override { return clock_; }
  std::string CurrentDirectory() override;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static DWORD WINAPI DrawingThreadEntry(LPVOID self);
  LRESULT HandlePaint(WPARAM wParam, LPARAM lParam);

  HINSTANCE instance_;
  int showCommand_;
  HWND window_ = nullptr;
  HACCEL accelerators_ = nullptr;
  HANDLE drawingThread_ = nullptr;
  Shell* shell_ = nullptr;
  CrtClock clock_;

  std::function<void()> drawingBody_;
  // Opened on the drawing thread when it starts, used only there.
  std::unique_ptr<DisplayDevice> drawingDevice_;

  // The WM_PAINT being handled: its parameters and the default handling's result.
  WPARAM paintWParam_ = 0;
  LPARAM paintLParam_ = 0;
  LRESULT paintResult_ = 0;
};

}  // namespace zirvo::win32
