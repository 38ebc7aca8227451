#include "platform/headless/HeadlessPlatform.h"

namespace zirvo {

HeadlessPlatform::HeadlessPlatform(std::int32_t width, std::int32_t height)
    : framebuffer_(width, height) {}

void HeadlessPlatform::Post(HeadlessEvent event) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    queue_.push_back(event);
    ++posted_;
  }
  changed_.notify_all();
}

void HeadlessPlatform::WaitUntilHandled() {
  std::unique_lock<std::mutex> lock(mutex_);
  const std::uint64_t target = posted_;
  changed_.wait(lock, [&] { return handled_ >= target || loopEnded_.load(); });
}

std::string HeadlessPlatform::LastBannerText() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return lastBannerText_;
}

bool HeadlessPlatform::InitWindow(ScreenSize& screen) {
  if (windowFails_)
    return false;
  screen.ScreenWidth = framebuffer_.Width();
  screen.ScreenHeight = framebuffer_.Height();
  return true;
}

void HeadlessPlatform::ShowAndUpdate() {
  shown_.store(true);
  if (shell_ != nullptr)
    shell_->OnPaint();  // the first paint, delivered at once
}

void HeadlessPlatform::DefaultPaint() {
  defaultPaints_.fetch_add(1);
  framebuffer_.Fill(kBlack);  // the whole window counts as invalid here
}

void HeadlessPlatform::PaintBanner(const std::string& text, const BannerPlacement& place) {
  const int top = place(kLineHeight);
  {
    std::lock_guard<std::mutex> lock(mutex_);
    lastBannerText_ = text;
  }
  lastBannerTop_.store(top);
  bannerPaints_.fetch_add(1);
}

void HeadlessPlatform::PostQuitFromDrawingThread() {
  quitsFromDrawingThread_.fetch_add(1);
  Post({HeadlessEvent::Type::kQuitFromDrawingThread, Key::kOther});
}

bool HeadlessPlatform::StartDrawingThread(std::function<void()> body) {
  if (threadFails_)
    return false;
  return thread_.Start([this, body = std::move(body)] {
    drawingThreadRunning_.store(true);
    body();
  });
}

int HeadlessPlatform::RunMessageLoop() {
  while (!quit_) {
    HeadlessEvent event;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      changed_.wait(lock, [&] { return !queue_.empty(); });
      event = queue_.front();
      queue_.pop_front();
    }
    Dispatch(event);
    {
      std::lock_guard<std::mutex> lock(mutex_);
      ++handled_;
    }
    changed_.notify_all();
  }
  loopEnded_.store(true);
  changed_.notify_all();
  return 0;
}

void HeadlessPlatform::Dispatch(const HeadlessEvent& event) {
  switch (event.type) {
    case HeadlessEvent::Type::kPaint:
      shell_->OnPaint();
      break;
    case HeadlessEvent::Type::kKey:
      shell_->OnKeyDown(event.key);
      break;
    case HeadlessEvent::Type::kButton:
      shell_->OnButtonDown();
      break;
    case HeadlessEvent::Type::kDestroy:
      shell_->OnDestroy();
      break;
    case HeadlessEvent::Type::kQuitFromDrawingThread:
      quit_ = true;
      break;
  }
}

bool HeadlessPlatform::JoinDrawingThread(const std::function<bool()>& exited,
                                         std::uint32_t timeoutMs) {
  return thread_.Join(exited, timeoutMs);
}

void HeadlessPlatform::RunCalibrationWork(std::uint32_t trialWait) {
  CalibrationWork(framebuffer_);
  ++calibrationTrials_;
  clock_.ms += trialWait / (countsPerMs_ == 0 ? 1 : countsPerMs_);
}

std::int64_t HeadlessPlatform::Time() {
  const std::uint32_t perSecond = readsPerSecond_.load(std::memory_order_relaxed);
  if (perSecond != 0) {
    const std::uint32_t n = reads_.fetch_add(1, std::memory_order_relaxed) + 1;
    if (n % perSecond == 0)
      return seconds_.fetch_add(1, std::memory_order_relaxed) + 1;
  }
  return seconds_.load(std::memory_order_relaxed);
}

}  // namespace zirvo
