// The shell on no system at all: an in-memory screen, scripted input and fake
// clocks, so whole shows run inside a test. Input posted from any thread is
// delivered in order by RunMessageLoop on the thread that runs the shell.
//
// Clocks: Time() is a settable second counter, which can also move on by itself
// (one second every N reads) so that a show with stop times ends quickly.
// Clock() is a millisecond counter that only the calibration work moves: each
// trial costs WaitCount / CountsPerMs milliseconds, so calibration comes out the
// same on every machine.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>

#include "app/Shell.h"
#include "app/ShellPlatform.h"
#include "image/Framebuffer.h"
#include "platform/thread/DrawingThread.h"

namespace zirvo {

struct HeadlessEvent {
  enum class Type { kPaint, kKey, kButton, kDestroy, kQuitFromDrawingThread };
  Type type = Type::kPaint;
  Key key = Key::kOther;
};

class HeadlessPlatform final : public ShellPlatform {
 public:
  HeadlessPlatform(std::int32_t width, std::int32_t height);

  // The shell whose handlers the loop calls. Must be set before Shell::Run.
  void Attach(Shell& shell) { shell_ = &shell; }

  // Input, from any thread.
  void Post(HeadlessEvent event);
  void PostKey(Key key) { Post({HeadlessEvent::Type::kKey, key}); }
  void PostButton() { Post({HeadlessEvent::Type::kButton, Key::kOther}); }
  void PostPaint() { Post({HeadlessEvent::Type::kPaint, Key::kOther}); }
  void PostDestroy() { Post({HeadlessEvent::Type::kDestroy, Key::kOther}); }
  // Blocks until every event posted so far has been handled (or the loop ended).
  void WaitUntilHandled();

  // Clocks.
  void SetTime(std::int64_t seconds) { seconds_.store(seconds, std::memory_order_relaxed); }
  void AdvanceSeconds(std::int64_t seconds) {
    seconds_.fetch_add(seconds, std::memory_order_relaxed);
  }
  // 0: the seconds move only when told; N: one second passes every N reads.
  void SetReadsPerSecond(std::uint32_t reads) {
    readsPerSecond_.store(reads, std::memory_order_relaxed);
  }
  void SetCountsPerMs(std::uint32_t counts) { countsPerMs_ = counts; }

  // Failures to simulate.
  void FailWindow() { windowFails_ = true; }
  void FailThread() { threadFails_ = true; }

  // What the shell did.
  Framebuffer& Screen() { return framebuffer_; }
  int HideCursorCalls() const { return hideCursorCalls_.load(); }
  int DefaultPaints() const { return defaultPaints_.load(); }
  int BannerPaints() const { return bannerPaints_.load(); }
  int LastBannerTop() const { return lastBannerTop_.load(); }
  std::string LastBannerText() const;
  int CalibrationTrials() const { return calibrationTrials_; }
  bool WindowShown() const { return shown_.load(); }
  bool LoopEnded() const { return loopEnded_.load(); }
  // A quit asked for by the window procedure (PostQuit).
  bool QuitPosted() const { return quit_.load(); }
  int QuitsFromDrawingThread() const { return quitsFromDrawingThread_.load(); }
  // True once the drawing thread has begun to run its body.
  bool DrawingThreadRunning() const { return drawingThreadRunning_.load(); }

  static constexpr int kLineHeight = 16;

  // ShellPlatform.
  bool InitWindow(ScreenSize& screen) override;
  void ShowAndUpdate() override;
  void HideCursor() override { hideCursorCalls_.fetch_add(1); }
  void DefaultPaint() override;
  void PaintBanner(const std::string& text, const BannerPlacement& place) override;
  void PostQuit() override { quit_ = true; }
  void PostQuitFromDrawingThread() override;
  bool StartDrawingThread(std::function<void()> body) override;
  int RunMessageLoop() override;
  bool JoinDrawingThread(const std::function<bool()>& exited, std::uint32_t timeoutMs) override;
  PixelSink& Display() override { return framebuffer_; }
  void RunCalibrationWork(std::uint32_t trialWait) override;
  std::int64_t Time() override;
  MillisecondClock& Clock() override { return clock_; }
  std::string CurrentDirectory() override { return currentDirectory_; }

  void SetCurrentDirectory(std::string dir) { currentDirectory_ = std::move(dir); }

 private:
  class FakeMillisecondClock final : public MillisecondClock {
   public:
    std::uint32_t ElapsedMs() override { return ms; }
    std::uint32_t ms = 0;
  };

  void Dispatch(const HeadlessEvent& event);

  Shell* shell_ = nullptr;
  Framebuffer framebuffer_;
  DrawingThread thread_;
  FakeMillisecondClock clock_;
  std::string currentDirectory_ = ".";

  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<HeadlessEvent> queue_;
  std::uint64_t posted_ = 0;
  std::uint64_t handled_ = 0;

  std::atomic<bool> quit_{false};
  bool windowFails_ = false;
  bool threadFails_ = false;
  std::atomic<bool> shown_{false};
  std::atomic<bool> loopEnded_{false};
  std::atomic<std::int64_t> seconds_{1'000'000};
  std::atomic<std::uint32_t> readsPerSecond_{0};
  std::atomic<std::uint32_t> reads_{0};
  std::uint32_t countsPerMs_ = 1000;
  int calibrationTrials_ = 0;
  std::atomic<int> hideCursorCalls_{0};
  std::atomic<int> defaultPaints_{0};
  std::atomic<int> bannerPaints_{0};
  std::atomic<int> lastBannerTop_{0};
  std::atomic<int> quitsFromDrawingThread_{0};
  std::atomic<bool> drawingThreadRunning_{false};
  std::string lastBannerText_;  // guarded by mutex_
};

}  // namespace zirvo
