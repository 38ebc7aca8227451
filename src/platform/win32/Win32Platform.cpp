#include "platform/win32/Win32Platform.h"

#include <ctime>
#include <utility>
#include <vector>

namespace zirvo::win32 {

std::uint32_t CrtClock::ElapsedMs() {
  const std::clock_t ticks = std::clock();
  return static_cast<std::uint32_t>(static_cast<std::int64_t>(ticks) * 1000 / CLOCKS_PER_SEC);
}

Win32Platform::Win32Platform(HINSTANCE instance, int showCommand)
    : instance_(instance), showCommand_(showCommand) {}

Win32Platform::~Win32Platform() {
  if (drawingThread_ != nullptr)
    CloseHandle(drawingThread_);
}

bool Win32Platform::InitWindow(ScreenSize& screen) {
  WNDCLASSA windowClass{};
  windowClass.style = kClassStyle;
  windowClass.lpfnWndProc = &Win32Platform::WindowProc;
  windowClass.cbClsExtra = 0;
  windowClass.cbWndExtra = 0;
  windowClass.hInstance = instance_;
  windowClass.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  windowClass.lpszMenuName = nullptr;
  windowClass.lpszClassName = kClassName;
  if (RegisterClassA(&windowClass) == 0)
    return false;

  {
    DisplayDevice display;
    screen.ScreenWidth = GetDeviceCaps(display.Handle(), HORZRES);
    screen.ScreenHeight = GetDeviceCaps(display.Handle(), VERTRES);
  }

  window_ = CreateWindowExA(0, kClassName, "Zirvo", WS_POPUP, 0, 0, screen.ScreenWidth,
                            screen.ScreenHeight, nullptr, nullptr, instance_, nullptr);
  if (window_ == nullptr)
    return false;
  // Until this is set the window procedure hands every message to the default.
  SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  return true;
}

void Win32Platform::ShowAndUpdate() {
  ShowWindow(window_, showCommand_);
  UpdateWindow(window_);
  // The program ships no accelerator table, so none is found and the message
  // loop translates nothing; the lookup stays where Windows programs make it.
  accelerators_ = LoadAcceleratorsA(instance_, "QK_ACC");
}

void Win32Platform::HideCursor() {
  ShowCursor(FALSE);
}

void Win32Platform::DefaultPaint() {
  paintResult_ = DefWindowProcA(window_, WM_PAINT, paintWParam_, paintLParam_);
}

// The banner's paint runs in the classic order: BeginPaint, text colour,
// background mode, client rectangle, text metrics, then the text and EndPaint.
void Win32Platform::PaintBanner(const std::string& text, const BannerPlacement& place) {
  PAINTSTRUCT paint{};
  HDC dc = BeginPaint(window_, &paint);
  SetTextColor(dc, kBannerColour);
  SetBkMode(dc, TRANSPARENT);
  RECT rect{};
  GetClientRect(window_, &rect);
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc, &metrics);
  rect.top += place(metrics.tmHeight + metrics.tmExternalLeading);
  DrawTextA(dc, text.c_str(), -1, &rect, DT_CENTER);
  EndPaint(window_, &paint);
}

LRESULT Win32Platform::HandlePaint(WPARAM wParam, LPARAM lParam) {
  paintWParam_ = wParam;
  paintLParam_ = lParam;
  paintResult_ = 0;
  shell_->OnPaint();
  return paintResult_;
}

LRESULT CALLBACK Win32Platform::WindowProc(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
  auto* self = reinterpret_cast<Win32Platform*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (self == nullptr || self->shell_ == nullptr) {
    return DefWindowProcA(window, message, wParam, lParam);
  }
  Shell& shell = *self->shell_;
  switch (message) {
    case WM_PAINT:
      return self->HandlePaint(wParam, lParam);
    case WM_DESTROY:
      shell.OnDestroy();
      return 0;
    case WM_KEYDOWN:
      switch (wParam) {
        case VK_SCROLL:
          shell.OnKeyDown(Key::kScrollLock);
          break;
        case VK_UP:
          shell.OnKeyDown(Key::kUp);
          break;
        case VK_DOWN:
          shell.OnKeyDown(Key::kDown);
          break;
        default:
          shell.OnKeyDown(Key::kOther);
          break;
      }
      return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
      shell.OnButtonDown();
      return 0;
    default:
      // System keys too: Alt+F4 closes the window and ends through WM_DESTROY.
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

void Win32Platform::PostQuit() {
  PostQuitMessage(0);
}

void Win32Platform::PostQuitFromDrawingThread() {
  PostMessageA(window_, WM_QUIT, 0, 0);
}

DWORD WINAPI Win32Platform::DrawingThreadEntry(LPVOID self) {
  auto& platform = *static_cast<Win32Platform*>(self);
  platform.drawingDevice_ = std::make_unique<DisplayDevice>();
  platform.drawingBody_();
  return 0;
}

bool Win32Platform::StartDrawingThread(std::function<void()> body) {
  drawingBody_ = std::move(body);
  drawingThread_ = CreateThread(nullptr, kDrawingThreadStack, &Win32Platform::DrawingThreadEntry,
                                this, 0, nullptr);
  return drawingThread_ != nullptr;
}

int Win32Platform::RunMessageLoop() {
  MSG msg{};
  // GetMessageA gives -1 on an error; that ends the loop rather than spinning.
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (accelerators_ != nullptr && TranslateAcceleratorA(window_, accelerators_, &msg) != 0) {
      continue;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return static_cast<int>(msg.wParam);
}

bool Win32Platform::JoinDrawingThread(const std::function<bool()>& exited,
                                      std::uint32_t timeoutMs) {
  if (drawingThread_ == nullptr)
    return exited();
  const bool ended = WaitForSingleObject(drawingThread_, timeoutMs) == WAIT_OBJECT_0;
  CloseHandle(drawingThread_);
  drawingThread_ = nullptr;
  return ended || exited();
}

PixelSink& Win32Platform::Display() {
  return *drawingDevice_;
}

void Win32Platform::RunCalibrationWork(std::uint32_t /*trialWait*/) {
  DisplayDevice display;
  CalibrationWork(display);
}

std::int64_t Win32Platform::Time() {
  return static_cast<std::int64_t>(std::time(nullptr));
}

std::string Win32Platform::CurrentDirectory() {
  // Asked for its length first: no fixed limit on the path.
  const DWORD needed = GetCurrentDirectoryA(0, nullptr);
  if (needed == 0)
    return {};
  std::vector<char> buffer(needed + 1);
  const DWORD length = GetCurrentDirectoryA(static_cast<DWORD>(buffer.size()), buffer.data());
  if (length == 0 || length >= buffer.size())
    return {};
  std::string directory(buffer.data(), length);
  if (!directory.empty() && directory.back() == '\\')
    directory.pop_back();  // "c:\" -> "c:"
  return directory;
}

}  // namespace zirvo::win32
