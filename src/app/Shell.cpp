#include "app/Shell.h"

#include <cstdio>
#include <cstdlib>

#include "app/Banner.h"
#include "core/Wrap.h"

namespace zirvo {

namespace {

constexpr auto kRelaxed = std::memory_order_relaxed;

// Seconds of the calendar clock as the shell keeps them: the low 32 bits.
std::int32_t Seconds32(std::int64_t seconds) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(seconds));
}

}  // namespace

Shell::Shell(ShellPlatform& platform) : platform_(platform) {}

int Shell::Run(const Launch& launch) {
  if (!platform_.InitWindow(screen_))
    return 0;

  LoadEnvironment env;
  env.screen = screen_;
  env.currentDirectory = platform_.CurrentDirectory();
  env.style = launch.style;
  env.opener = platform_.Opener();
  SceneLoaded_ = LoadScene(show_, launch.args, env, *this);
  // The settings file is read before the scene, so its wait stands even when
  // the scene then fails to load.
  pacing_.SetWait(show_.scene.settings.WaitCount);

  platform_.ShowAndUpdate();

  if (pacing_.Wait() == 0) {
    Calibrate(pacing_, platform_.Clock(), [this] { platform_.RunCalibrationWork(pacing_.Wait()); });
  }

  StartTime_.store(Seconds32(platform_.Time()), kRelaxed);
  show_.random.Seed(static_cast<std::uint32_t>(StartTime_.load(kRelaxed)) & 0xFFFu);

  DrawThreadStarted_ = platform_.StartDrawingThread([this] { DrawThread(); });
  const int exitCode = platform_.RunMessageLoop();

  if (DrawThreadStarted_) {
    RequestStop();
    if (!platform_.JoinDrawingThread([this] { return DrawThreadExited(); }, kDrawThreadStopMs)) {
      // The thread is inside a long pass and uses the show; ending the process
      // here is the only way out that destroys nothing under it.
      std::fflush(nullptr);
      std::_Exit(exitCode);
    }
  }
  return exitCode;
}

void Shell::OnPaint() {
  platform_.HideCursor();
  if (SceneLoaded_ != 0) {
    DrawingEnabled_.store(1, kRelaxed);
    platform_.DefaultPaint();
  } else {
    const int screenHeight = screen_.ScreenHeight;
    platform_.PaintBanner(kBannerText, [screenHeight](int lineHeight) {
      return BannerTop(screenHeight, lineHeight);
    });
  }
}

void Shell::OnKeyDown(Key key) {
  if (Paused_.load(kRelaxed) != 0) {
    Resume();
    return;
  }
  switch (key) {
    case Key::kScrollLock:
      Paused_.store(1, kRelaxed);
      PauseStart_ = Seconds32(platform_.Time());
      break;
    case Key::kUp:
      pacing_.SpeedUp();
      break;
    case Key::kDown:
      pacing_.SlowDown();
      break;
    case Key::kOther:
      platform_.PostQuit();
      break;
  }
}

void Shell::OnButtonDown() {
  if (Paused_.load(kRelaxed) != 0) {
    Resume();
  } else {
    platform_.PostQuit();
  }
}

void Shell::OnDestroy() {
  platform_.PostQuit();
}

void Shell::Resume() {
  // Paused is cleared before StartTime moves: a pass may begin in between and
  // compare against the old StartTime once, which is harmless.
  Paused_.store(0, kRelaxed);
  const std::int32_t pauseLength = WrapSub(Seconds32(platform_.Time()), PauseStart_);
  StartTime_.store(WrapAdd(StartTime_.load(kRelaxed), pauseLength), kRelaxed);
  PauseStart_ = 0;
}

std::uint32_t Shell::Elapsed() {
  return static_cast<std::uint32_t>(Seconds32(platform_.Time())) -
         static_cast<std::uint32_t>(StartTime_.load(kRelaxed));
}

void Shell::DrawThread() {
  PixelSink& display = platform_.Display();
  for (;;) {
    if (stopRequested_.load(kRelaxed))
      break;
    if (Paused_.load(kRelaxed) != 0)
      continue;  // busy: the show stands still
    pacing_.Delay();
    if (DrawingEnabled_.load(kRelaxed) == 0 || !show_.engine)
      continue;
    if (show_.engine->DrawingPass(display, pacing_) != 0)
      platform_.PostQuitFromDrawingThread();
  }
  drawThreadExited_.store(true, std::memory_order_release);
}

}  // namespace zirvo
