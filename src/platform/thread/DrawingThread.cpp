#include "platform/thread/DrawingThread.h"

#include <chrono>
#include <system_error>

namespace zirvo {

DrawingThread::~DrawingThread() {
  if (thread_.joinable())
    thread_.detach();
}

bool DrawingThread::Start(std::function<void()> body) {
  try {
    thread_ = std::thread(std::move(body));
    return true;
  } catch (const std::system_error&) {
    return false;
  }
}

bool DrawingThread::Join(const std::function<bool()>& exited, std::uint32_t timeoutMs) {
  if (!thread_.joinable())
    return true;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!exited()) {
    if (std::chrono::steady_clock::now() >= deadline) {
      thread_.detach();
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  thread_.join();
  return true;
}

}  // namespace zirvo
