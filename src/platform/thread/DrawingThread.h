// The drawing thread as a standard thread, with the bounded wait the shell asks
// for at the end of the program. Shared by the backends that have std::thread.
#pragma once

#include <cstdint>
#include <functional>
#include <thread>

namespace zirvo {

class DrawingThread {
 public:
  DrawingThread() = default;
  DrawingThread(const DrawingThread&) = delete;
  DrawingThread& operator=(const DrawingThread&) = delete;
  // A thread still running here was given up by Join; it is left to the
  // process's end.
  ~DrawingThread();

  // False when the system could not start a thread.
  bool Start(std::function<void()> body);
  // Waits at most `timeoutMs` for `exited`; joins and returns true once it
  // holds (or when no thread runs), else lets the thread go and returns false.
  bool Join(const std::function<bool()>& exited, std::uint32_t timeoutMs);

 private:
  std::thread thread_;
};

}  // namespace zirvo
