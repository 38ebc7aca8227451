#include "platform/sdl/SdlPlatform.h"

#include <SDL.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "app/FrameCadence.h"
#include "app/FramePacer.h"
#include "platform/sdl/SdlVideo.h"
#include "platform/sdl/WindowPixels.h"

namespace zirvo {

namespace {

// The keypad's 8 and 2 are arrows while Num Lock is off, as they are for
// every Windows program.
Key KeyOf(const SDL_Keysym& key) {
  const bool numLock = (key.mod & KMOD_NUM) != 0;
  switch (key.sym) {
    case SDLK_SCROLLLOCK:
      return Key::kScrollLock;
    case SDLK_UP:
      return Key::kUp;
    case SDLK_DOWN:
      return Key::kDown;
    case SDLK_KP_8:
      return numLock ? Key::kOther : Key::kUp;
    case SDLK_KP_2:
      return numLock ? Key::kOther : Key::kDown;
    default:
      return Key::kOther;
  }
}

// How long the window's first expose is waited for before the first paint.
constexpr std::uint64_t kFirstExposeWaitMs = 1000;

}  // namespace

SdlPlatform::SdlPlatform() = default;

SdlPlatform::~SdlPlatform() {
  presenter_.reset();
  pixels_.reset();
  if (window_ != nullptr)
    SDL_DestroyWindow(window_);
  if (videoStarted_)
    SDL_Quit();
}

bool SdlPlatform::Open(std::string& error) {
  // A full-screen show must not minimise itself when another window gets focus.
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
  // A click is a click even when it also gives the window the focus (SDL would
  // drop one that comes within a few ms of the focus, as after calibration).
  SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
  if (!StartVideo(error))
    return false;
  videoStarted_ = true;
  // Without a display SDL falls back to drivers that show nobody anything; the
  // show only runs on those when asked for by name.
  const char* driver = SDL_GetCurrentVideoDriver();
  const char* asked = SDL_GetHint(SDL_HINT_VIDEODRIVER);
  const bool invisible = driver == nullptr || std::strcmp(driver, "offscreen") == 0 ||
                         std::strcmp(driver, "dummy") == 0 || std::strcmp(driver, "evdev") == 0;
  if (invisible && (asked == nullptr || driver == nullptr || std::strcmp(asked, driver) != 0)) {
    error = std::string("no display found (SDL offers only its '") +
            (driver != nullptr ? driver : "none") + "' video driver)";
    return false;
  }
  quitEventType_ = SDL_RegisterEvents(1);
  return true;
}

bool SdlPlatform::InitWindow(ScreenSize& screen) {
  SDL_Rect bounds;
  int width = 0;
  int height = 0;
  if (SDL_GetDisplayBounds(0, &bounds) != 0 || !DisplayPixels(0, width, height)) {
    windowError_ = std::string("cannot measure the screen: ") + SDL_GetError();
    return false;
  }
  SDL_DisplayMode mode;
  if (SDL_GetDesktopDisplayMode(0, &mode) == 0 && mode.refresh_rate > 0) {
    refreshHz_ = mode.refresh_rate;
  }
  screen.ScreenWidth = width;
  screen.ScreenHeight = height;

  // The window's pixels are the display's (not points) on a display with a
  // scale factor.
  window_ = SDL_CreateWindow("Zirvo", bounds.x, bounds.y, bounds.w, bounds.h,
                             SDL_WINDOW_BORDERLESS | SDL_WINDOW_FULLSCREEN_DESKTOP |
                                 SDL_WINDOW_HIDDEN | SDL_WINDOW_ALLOW_HIGHDPI);
  if (window_ != nullptr)
    pixels_ = std::make_unique<WindowPixels>(window_);
  if (window_ == nullptr || pixels_->Surface() == nullptr) {
    windowError_ = std::string("cannot create the window: ") + SDL_GetError();
    return false;
  }
  // The changed rows come as runs of whole rows already: each run goes to the
  // display as it is (bench/run's sdl/present rows: merging runs across the
  // rows between them made the dense frame's present slower).
  presenter_.emplace(*pixels_, 1);
  screen_ = TrackedScreen::Create(width, height);
  if (!screen_) {
    windowError_ = "not enough memory for a screen of " + std::to_string(width) + " x " +
                   std::to_string(height) + " pixels";
    return false;
  }
  changedRows_.reserve(static_cast<std::size_t>(height) / 2 + 1);  // the most runs there can be
  if (observer_ != nullptr && shell_ != nullptr)
    observer_->WindowCreated(*screen_, *shell_, refreshHz_);
  return true;
}

void SdlPlatform::ShowAndUpdate() {
  SDL_ShowWindow(window_);
  SDL_RaiseWindow(window_);
  AwaitFirstExpose();
  if (shell_ != nullptr)
    shell_->OnPaint();  // the first paint, answering the first expose
  Present(true);
}

void SdlPlatform::AwaitFirstExpose() {
  // An expose handled later, with the drawing thread running, would erase its
  // first pixels. Only window events are taken here: keys and clicks stay
  // queued, in order, for the message loop. On Wayland showing the window
  // waited for the compositor's first configure, after which the window takes
  // its first frame; no expose follows.
  if (VideoOnWayland())
    return;
  const std::uint64_t deadline = SDL_GetTicks64() + kFirstExposeWaitMs;
  while (!quit_ && SDL_GetTicks64() < deadline) {
    SDL_PumpEvents();
    SDL_Event event;
    while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_WINDOWEVENT, SDL_WINDOWEVENT) == 1) {
      if (event.window.event == SDL_WINDOWEVENT_EXPOSED)
        return;
      Dispatch(event);
    }
    SDL_Delay(1);
  }
}

void SdlPlatform::HideCursor() {
  SDL_ShowCursor(SDL_DISABLE);
}

void SdlPlatform::DefaultPaint() {
  // SDL does not say which part was exposed: the whole window is.
  screen_->Fill(kBlack);
}

void SdlPlatform::PaintBanner(const std::string& text, const BannerPlacement& place) {
  if (!fontTried_) {
    fontTried_ = true;
    std::string error;
    if (!font_.Open(screen_->Height(), error)) {
      std::fprintf(stderr, "zirvo: the banner cannot be drawn: %s\n", error.c_str());
    }
  }
  font_.Draw(*screen_, text, place(font_.LineHeight()));
}

void SdlPlatform::PostQuitFromDrawingThread() {
  // The drawing thread says so on every pass once the show is over: one event
  // in the queue is enough, and a push that failed (a full queue) is made
  // again on the next pass.
  if (quitPostedFromDrawing_)
    return;
  SDL_Event event;
  SDL_zero(event);
  event.type = quitEventType_;
  quitPostedFromDrawing_ = SDL_PushEvent(&event) == 1;
}

bool SdlPlatform::StartDrawingThread(std::function<void()> body) {
  if (observer_ != nullptr)
    observer_->DrawingStarting();
  return thread_.Start(std::move(body));
}

bool SdlPlatform::JoinDrawingThread(const std::function<bool()>& exited, std::uint32_t timeoutMs) {
  const bool joined = thread_.Join(exited, timeoutMs);
  if (observer_ != nullptr)
    observer_->DrawingJoined();
  return joined;
}

int SdlPlatform::RunMessageLoop() {
  FrameCadence cadence(FramePacer::FrameNsOfRefresh(refreshHz_));
  std::uint64_t nextFrame = cadence.Next(clock_.NowNs());
  while (!quit_) {
    const std::uint64_t now = clock_.NowNs();
    // In whole milliseconds, rounded up: a wait a little long costs less than
    // spinning through the last part of a millisecond.
    const int timeoutMs =
        nextFrame > now ? static_cast<int>((nextFrame - now + 999'999) / 1'000'000) : 0;
    SDL_Event event;
    if (SDL_WaitEventTimeout(&event, timeoutMs) != 0) {
      Dispatch(event);
      while (!quit_ && SDL_PollEvent(&event) != 0)
        Dispatch(event);
    }
    if (pixels_ && pixels_->DisplayLost())
      quit_ = true;
    if (quit_)
      break;
    const std::uint64_t after = clock_.NowNs();
    if (after >= nextFrame) {
      Present(false);
      nextFrame = cadence.Next(after);
    }
    if (observer_ != nullptr)
      observer_->LoopTurned();
  }
  // A compositor that went away may have said quit first: still a failure.
  if (pixels_ && pixels_->DisplayLost())
    windowError_ = "the display went away";
  if (observer_ != nullptr)
    observer_->LoopEnded();
  return 0;
}

void SdlPlatform::Dispatch(const SDL_Event& event) {
  if (event.type == quitEventType_) {
    quit_ = true;
    return;
  }
  switch (event.type) {
    case SDL_KEYDOWN: {
      const SDL_Keysym& key = event.key.keysym;
      // Keys pressed with Alt are system keys, as is F10: not the show's. Alt+F4
      // closes the window, even where no window manager does it for us.
      if ((key.mod & KMOD_ALT) != 0) {
        if (key.sym == SDLK_F4)
          shell_->OnDestroy();
        break;
      }
      if (key.sym == SDLK_F10)
        break;
      shell_->OnKeyDown(KeyOf(key));
      break;
    }
    case SDL_MOUSEBUTTONDOWN:
      if (event.button.button == SDL_BUTTON_LEFT || event.button.button == SDL_BUTTON_RIGHT) {
        shell_->OnButtonDown();
      }
      break;
    case SDL_WINDOWEVENT:
      if (event.window.event == SDL_WINDOWEVENT_EXPOSED) {
        // SDL does not say which part was exposed: the whole window is repainted.
        shell_->OnPaint();
        Present(true);
        if (observer_ != nullptr)
          observer_->Exposed();
      } else if (event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
        // The surface drawn on is gone, even where its successor lands at the
        // same address: the next frame draws every row on the new one.
        presenter_->Forget();
      } else if (event.window.event == SDL_WINDOWEVENT_CLOSE) {
        shell_->OnDestroy();
      }
      break;
    case SDL_QUIT:
      shell_->OnDestroy();
      break;
    default:
      break;
  }
}

void SdlPlatform::Present(bool force) {
  const auto start = SdlObserver::Clock::now();
  if (PresentOnSurface(force) && observer_ != nullptr)
    observer_->FramePresented(start, SdlObserver::Clock::now());
}

bool SdlPlatform::PresentOnSurface(bool force) {
  bool fresh = false;
  SDL_Surface* surface = presenter_->Surface(fresh);
  if (surface == nullptr)
    return false;  // the changes wait for the next frame
  if (fresh) {
    screen_->MarkAllRows();  // a new surface holds nothing yet
    force = true;
  }
  const bool changed = screen_->TakeChangedRows(changedRows_);
  bands_.clear();
  for (const RowRun& run : changedRows_)
    bands_.push_back(Rect{0, run.first, screen_->Width(), run.count});
  if (changed)
    presenter_->Write(*surface, ScreenRows(*screen_), bands_);
  if (changed || force)
    presenter_->Show(*surface, bands_, force);
  return changed || force;
}

std::int64_t SdlPlatform::Time() {
  return static_cast<std::int64_t>(std::time(nullptr));
}

std::string SdlPlatform::CurrentDirectory() {
  std::vector<char> buffer(256);
  while (getcwd(buffer.data(), buffer.size()) == nullptr) {
    if (errno != ERANGE)
      return ".";
    buffer.resize(buffer.size() * 2);
  }
  std::string dir(buffer.data());
  while (dir.size() > 1 && dir.back() == '/')
    dir.pop_back();
  return dir;
}

}  // namespace zirvo
