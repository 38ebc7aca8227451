#include "platform/win32-saver/ScrWindow.h"

#include <windowsx.h>

#include <algorithm>
#include <ctime>
#include <memory>

#include "app/Clocks.h"
#include "app/MonitorLayout.h"
#include "app/SaverCore.h"
#include "platform/win32-saver/DibSurface.h"
#include "platform/win32-saver/FrameWait.h"
#include "platform/win32-saver/InputEnd.h"
#include "platform/win32-saver/ScrChoices.h"
#include "platform/win32-saver/ScrFiles.h"
#include "platform/win32-saver/ScrLoader.h"

namespace zirvo::scr {

namespace {

constexpr const char* kWindowClass = "ZirvoScreenSaver";
// The longest single wait: a preview looks for its host's window this often
// even when no frame is due.
constexpr std::uint64_t kLongestWaitNs = 100'000'000;

// The display's refresh as Windows tells it (0 or 1: the hardware's default).
int DisplayRefresh() {
  int hertz = 0;
  if (HDC screen = GetDC(nullptr)) {
    hertz = GetDeviceCaps(screen, VREFRESH);
    ReleaseDC(nullptr, screen);
  }
  return hertz;
}

BOOL CALLBACK AddMonitor(HMONITOR /*monitor*/, HDC /*dc*/, LPRECT rect, LPARAM list) {
  reinterpret_cast<std::vector<Rect>*>(list)->push_back(
      Rect::FromEdges(rect->left, rect->top, rect->right, rect->bottom));
  return TRUE;
}

class ScrWindow {
 public:
  // `parent` null: the full-screen show; else the preview in that window.
  ScrWindow(const ScrSetup& setup, HWND parent)
      : setup_(setup),
        parent_(parent),
        loader_(setup.saverPath, CurrentFolder(), &IsExistingFile),
        core_(loader_,
              ScrChoices(setup.settings, setup.scenes,
                         static_cast<std::uint32_t>(std::time(nullptr)), DisplayRefresh()),
              clock_) {}
  ~ScrWindow();
  ScrWindow(const ScrWindow&) = delete;
  ScrWindow& operator=(const ScrWindow&) = delete;

  int Run();

 private:
  bool FullScreen() const { return parent_ == nullptr; }
  bool Register() const;
  // Creates the window; the shows' areas in its client coordinates.
  bool Open(std::vector<Rect>& areas);
  int Pump();
  // The core's frame, and what it changed to the window.
  void Frame();

  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void Paint(HWND window);
  void End();

  const ScrSetup& setup_;
  HWND parent_;
  HWND window_ = nullptr;
  Rect bounds_;  // the window, in screen coordinates (full screen) or its parent's
  InputEnd inputEnd_;
  bool ending_ = false;
  bool cursorHidden_ = false;
  SteadyClock clock_;
  ScrLoader loader_;
  // The window's pixels; none when Windows gave no memory for them (then the
  // window stays black, and still ends as it should). The core's shows draw
  // on it: it outlives them.
  std::unique_ptr<DibSurface> surface_;
  SaverCore core_;
  FrameWait frameWait_;
};

ScrWindow::~ScrWindow() {
  if (window_ != nullptr && IsWindow(window_)) {
    SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
  }
  if (cursorHidden_)
    ShowCursor(TRUE);
}

bool ScrWindow::Register() const {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = &ScrWindow::Proc;
  windowClass.hInstance = setup_.instance;
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  windowClass.lpszClassName = kWindowClass;
  return RegisterClassA(&windowClass) != 0;
}

bool ScrWindow::Open(std::vector<Rect>& areas) {
  if (!FullScreen()) {
    RECT client{};
    if (!IsWindow(parent_) || GetClientRect(parent_, &client) == 0)
      return false;
    bounds_ = Rect{0, 0, std::max<LONG>(client.right - client.left, 1),
                   std::max<LONG>(client.bottom - client.top, 1)};
    window_ =
        CreateWindowExA(0, kWindowClass, "Zirvo preview", WS_CHILD | WS_VISIBLE, 0, 0,
                        bounds_.width, bounds_.height, parent_, nullptr, setup_.instance, this);
    areas = {Rect{0, 0, bounds_.width, bounds_.height}};
    return window_ != nullptr;
  }

  bounds_ = Rect{GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                 GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)};
  if (bounds_.Empty())
    bounds_ = Rect{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  std::vector<Rect> monitors;
  EnumDisplayMonitors(nullptr, nullptr, &AddMonitor, reinterpret_cast<LPARAM>(&monitors));
  areas = LayOutShows(bounds_, monitors);
  window_ = CreateWindowExA(WS_EX_TOPMOST, kWindowClass, "Zirvo", WS_POPUP, bounds_.x, bounds_.y,
                            bounds_.width, bounds_.height, nullptr, nullptr, setup_.instance, this);
  return window_ != nullptr;
}

int ScrWindow::Run() {
  if (!Register())
    return 0;
  POINT pointer{};
  if (FullScreen() && GetCursorPos(&pointer) != 0)
    inputEnd_.StartAt(pointer.x, pointer.y);
  std::vector<Rect> areas;
  if (!Open(areas))
    return 0;
  surface_ = DibSurface::Create(bounds_.width, bounds_.height);
  if (surface_) {
    std::vector<SaverArea> shows;
    for (const Rect& area : areas)
      shows.push_back(SaverArea{surface_.get(), area});
    core_.SetAreas(shows);
  }
  if (FullScreen()) {
    ShowWindow(window_, SW_SHOW);
    UpdateWindow(window_);
    SetForegroundWindow(window_);
    SetFocus(window_);
    ShowCursor(FALSE);
    cursorHidden_ = true;
  }
  return Pump();
}

int ScrWindow::Pump() {
  std::uint64_t due = clock_.NowNs();
  for (;;) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) != 0) {
      if (msg.message == WM_QUIT)
        return static_cast<int>(msg.wParam);
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    // The host's window gone without our child being told (it was destroyed
    // with it): nothing is left to draw on.
    if (!FullScreen() && !IsWindow(parent_))
      return 0;
    const std::uint64_t now = clock_.NowNs();
    if (now >= due) {
      if (!ending_ && window_ != nullptr)
        Frame();
      due = core_.NextFrameNs();
      continue;
    }
    // Until the next frame is due or a message arrives.
    frameWait_.Wait((std::min(due - now, kLongestWaitNs) + 999) / 1000);
  }
}

void ScrWindow::Frame() {
  core_.Frame();
  if (!surface_)
    return;
  if (HDC dc = GetDC(window_)) {
    surface_->Present(dc);
    ReleaseDC(window_, dc);
  }
}

void ScrWindow::End() {
  if (ending_)
    return;
  ending_ = true;
  if (cursorHidden_) {
    ShowCursor(TRUE);
    cursorHidden_ = false;
  }
  DestroyWindow(window_);
}

void ScrWindow::Paint(HWND window) {
  PAINTSTRUCT paint{};
  HDC dc = BeginPaint(window, &paint);
  if (surface_)
    surface_->Copy(dc, paint.rcPaint);
  else
    FillRect(dc, &paint.rcPaint, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  EndPaint(window, &paint);
}

LRESULT CALLBACK ScrWindow::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<ScrWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (self == nullptr)
    return DefWindowProcA(window, message, wParam, lParam);
  return self->Handle(window, message, wParam, lParam);
}

LRESULT ScrWindow::Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      Paint(window);
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the paint covers every pixel
    case WM_DESTROY:
      window_ = nullptr;
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  if (!FullScreen() || ending_)
    return DefWindowProcA(window, message, wParam, lParam);

  switch (message) {
    case WM_SETCURSOR:
      SetCursor(nullptr);
      return TRUE;
    case WM_MOUSEMOVE: {
      POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      ClientToScreen(window, &at);
      if (inputEnd_.PointerMoved(at.x, at.y))
        End();
      return 0;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_RBUTTONDOWN:
      End();
      return 0;
    case WM_XBUTTONDOWN:
      End();
      return TRUE;
    case WM_ACTIVATEAPP:
      if (inputEnd_.Activation(wParam != FALSE)) {
        End();
        return 0;
      }
      break;
    case WM_ACTIVATE:
      if (inputEnd_.Activation(LOWORD(wParam) != WA_INACTIVE)) {
        End();
        return 0;
      }
      break;
    case WM_SYSCOMMAND: {
      // Windows asking to start a screensaver, or to close the window: not
      // while this one runs.
      const WPARAM command = wParam & 0xFFF0;
      if (command == SC_SCREENSAVE || command == SC_CLOSE)
        return 0;
      break;
    }
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int RunFullScreen(const ScrSetup& setup) {
  ScrWindow window(setup, nullptr);
  return window.Run();
}

int RunPreview(const ScrSetup& setup, HWND parent) {
  if (parent == nullptr || !IsWindow(parent))
    return 0;
  ScrWindow window(setup, parent);
  return window.Run();
}

}  // namespace zirvo::scr
