#include "platform/win32-saver/FrameWait.h"

#include <algorithm>

namespace zirvo::scr {

namespace {

// Longer waits are cut to this: a day, well short of INFINITE milliseconds.
constexpr std::uint64_t kLongestWaitUs = 86'400'000'000;
// A bound on a timer's wait beyond its due time, should the timer never fire.
constexpr DWORD kTimerSlackMs = 20;

// Not in every SDK's headers; Windows before 10 1803 refuses it.
constexpr DWORD kHighResolutionTimer = 0x00000002;  // CREATE_WAITABLE_TIMER_HIGH_RESOLUTION

// Looked up at run time: the saver still starts where kernel32 has no
// CreateWaitableTimerExW (before Vista).
using CreateTimerEx = HANDLE(WINAPI*)(LPSECURITY_ATTRIBUTES, LPCWSTR, DWORD, DWORD);

HANDLE CreateHighResolutionTimer() {
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  if (kernel == nullptr)
    return nullptr;
  // Through void (*)(), the type that converts to any function pointer without a warning.
  const auto create = reinterpret_cast<CreateTimerEx>(
      reinterpret_cast<void (*)()>(GetProcAddress(kernel, "CreateWaitableTimerExW")));
  if (create == nullptr)
    return nullptr;
  return create(nullptr, nullptr, kHighResolutionTimer, TIMER_ALL_ACCESS);
}

// Whole milliseconds, rounded up (a wait never ends before its time is up).
DWORD TimeoutMs(std::uint64_t waitUs) {
  return static_cast<DWORD>((waitUs + 999) / 1000);
}

}  // namespace

FrameWait::FrameWait() : timer_(CreateHighResolutionTimer()) {}

FrameWait::~FrameWait() {
  if (timer_ != nullptr)
    CloseHandle(timer_);
}

void FrameWait::Wait(std::uint64_t waitUs) {
  waitUs = std::min(waitUs, kLongestWaitUs);
  if (timer_ == nullptr) {
    WaitWithTimeout(waitUs);
    return;
  }
  // Negative: relative to now, in units of 100 ns.
  LARGE_INTEGER due;
  due.QuadPart = -static_cast<LONGLONG>(waitUs * 10);
  if (SetWaitableTimer(timer_, &due, 0, nullptr, nullptr, FALSE) == 0) {
    WaitWithTimeout(waitUs);
    return;
  }
  MsgWaitForMultipleObjectsEx(1, &timer_, TimeoutMs(waitUs) + kTimerSlackMs, QS_ALLINPUT,
                              MWMO_INPUTAVAILABLE);
}

void FrameWait::WaitWithTimeout(std::uint64_t waitUs) {
  MsgWaitForMultipleObjectsEx(0, nullptr, TimeoutMs(waitUs), QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

}  // namespace zirvo::scr
