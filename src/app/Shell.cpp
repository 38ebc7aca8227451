#include "app/Shell.h"

#include <cstdio>
#include <cstdlib>

#include "app/Banner.h"
#include "core/Ascii.h"
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
  if (!platform_.InitWindow(screen))
    return 0;

  ProgramArgs args;
  if (launch.style == PathStyle::kWindows) {
    std::string commandLine = launch.commandLine;
    LowerAscii(commandLine);
    args = ArgsFromCommandLine(commandLine);
  } else {
    args = launch.args;
  }
  LoadEnvironment env;
  env.screen = screen;
  env.currentDirectory = platform_.CurrentDirectory();
  env.style = launch.style;
  env.opener = platform_.Opener();
  SceneLoaded = LoadScene(show, args, env, *this);
  // The settings file is read before the scene, so its wait stands even when
  // the scene then fails to load.
  pacing.SetWait(show.scene.settings.WaitCount);

  platform_.ShowAndUpdate();
  AcceleratorsFound = platform_.LoadAccelerators();

  if (pacing.Wait() == 0) {
    Calibrate(pacing, platform_.Clock(), [this] { platform_.RunCalibrationWork(); });
  }

  StartTime.store(Seconds32(platform_.Time()), kRelaxed);
  show.random.Seed(static_cast<std::uint32_t>(StartTime.load(kRelaxed)) & 0xFFFu);

  DrawThreadStarted = platform_.StartDrawingThread([this] { DrawThread(); });
  const int exitCode = platform_.RunMessageLoop();

  if (DrawThreadStarted) {
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
  if (SceneLoaded != 0) {
    DrawingEnabled.store(1, kRelaxed);
    platform_.DefaultPaint();
  } else {
    platform_.PaintBanner(kBannerText,
                          BannerTop(screen.ScreenHeight, platform_.BannerLineHeight()));
  }
}

void Shell::OnKeyDown(Key key) {
  if (Paused.load(kRelaxed) != 0) {
    Resume();
    return;
  }
  switch (key) {
    case Key::kScrollLock:
      Paused.store(1, kRelaxed);
      PauseStart = Seconds32(platform_.Time());
      break;
    case Key::kUp:
      pacing.SpeedUp();
      break;
    case Key::kDown:
      pacing.SlowDown();
      break;
    case Key::kOther:
      platform_.PostQuit();
      break;
  }
}

void Shell::OnButtonDown() {
  if (Paused.load(kRelaxed) != 0) {
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
  Paused.store(0, kRelaxed);
  const std::int32_t pauseLength = WrapSub(Seconds32(platform_.Time()), PauseStart);
  StartTime.store(WrapAdd(StartTime.load(kRelaxed), pauseLength), kRelaxed);
  PauseStart = 0;
}

std::uint32_t Shell::Elapsed() {
  return static_cast<std::uint32_t>(Seconds32(platform_.Time())) -
         static_cast<std::uint32_t>(StartTime.load(kRelaxed));
}

void Shell::DrawThread() {
  PixelSink& display = platform_.Display();
  for (;;) {
    if (stopRequested_.load(kRelaxed))
      break;
    if (Paused.load(kRelaxed) != 0)
      continue;  // busy: the show stands still
    pacing.Delay();
    if (DrawingEnabled.load(kRelaxed) == 0 || !show.engine)
      continue;
    if (show.engine->DrawingPass(display, pacing) != 0)
      platform_.PostQuitFromDrawingThread();
  }
  drawThreadExited_.store(true, std::memory_order_release);
}

}  // namespace zirvo
