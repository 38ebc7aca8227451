#include "platform/sdl-saver/SaverApp.h"

#include <SDL.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <memory>

#include "app/FrameLoop.h"
#include "app/FramePacing.h"
#include "app/FrameRate.h"
#include "app/MonitorLayout.h"
#include "app/SaverShow.h"
#include "app/SceneRotation.h"
#include "common/NoteFormat.h"
#include "platform/sdl-saver/FileWatch.h"
#include "platform/sdl-saver/SaverLoader.h"
#include "platform/sdl-saver/SaverWindows.h"
#include "platform/sdl-saver/TextPainters.h"
#include "platform/sdl-saver/WaylandSession.h"
#include "platform/sdl-saver/WindowCanvas.h"
#include "platform/sdl-saver/X11Host.h"
#include "platform/sdl/SdlVideo.h"
#include "platform/sdl/WindowPixels.h"
#include "render/PngWriter.h"
#include "scene/Settings.h"

namespace zirvo::saver {

namespace {

volatile std::sig_atomic_t stopSignalled = 0;

void OnStopSignal(int /*signal*/) {
  stopSignalled = 1;
}

// Waits for events at most this long at a time, so that a stop signal (which
// SDL's wait does not return for) is seen soon.
constexpr std::uint64_t kLongestWaitMs = 50;
constexpr int kOverlayInset = 8;

class SaverApp {
 public:
  explicit SaverApp(const SaverSetup& setup);
  ~SaverApp();
  SaverApp(const SaverApp&) = delete;
  SaverApp& operator=(const SaverApp&) = delete;

  int Run();

 private:
  // Opening: SDL, the display's facts, the mode's windows. On failure the
  // exit code and a message.
  bool Open(int& code, std::string& error);

  // The canvas and areas of a target at its window's present size.
  void LayOut(SaverWindow& target);
  void BuildShows();
  std::uint64_t TurnWorth() const;

  void Handle(const SDL_Event& event);
  void HandleKey(const SDL_KeyboardEvent& key);
  void ApplyResizes();
  void Present();
  void WaitUntil(std::uint64_t dueUs);
  void Report(const FrameWork& work);
  void SaveShot(Uint32 windowId);
  SaverWindow* WindowOf(Uint32 windowId);
  bool Stopping() const { return quit_ || stopSignalled != 0; }

  const SaverSetup& setup_;
  const SaverOptions& options_;
  SteadyMicrosecondClock clock_;
  SaverLoader loader_;
  BannerPainter banner_;
  XDisplayFacts facts_;
  std::vector<SaverWindow> windows_;
  std::vector<std::unique_ptr<SaverShow>> shows_;
  std::unique_ptr<FrameLoop> loop_;
  FrameRate rate_;
  std::unique_ptr<TextOverlay> overlay_;
  std::unique_ptr<FileWatch> watch_;
  std::uint32_t seed_;
  bool sdlStarted_ = false;
  bool quit_ = false;
  std::uint64_t framesBehind_ = 0;
  std::uint64_t retiredPixels_ = 0;
  std::uint64_t nextStatsUs_ = 0;
  std::uint64_t turnUs_ = kCalibratedTurnUs;
};

SaverApp::SaverApp(const SaverSetup& setup)
    : setup_(setup),
      options_(setup.options),
      loader_(setup.programPath, setup.settings, setup.options.watch.has_value()),
      seed_(setup.options.seed ? *setup.options.seed
                               : static_cast<std::uint32_t>(std::time(nullptr))) {}

SaverApp::~SaverApp() {
  shows_.clear();
  overlay_.reset();
  for (SaverWindow& target : windows_) {
    target.areas.clear();
    target.canvas.reset();
    target.pixels.reset();  // its buffers go before the display's connection
    // SDL leaves a foreign window to its owner; it only lets go of it.
    if (target.window != nullptr)
      SDL_DestroyWindow(target.window);
  }
  if (sdlStarted_)
    SDL_Quit();
}

bool SaverApp::Open(int& code, std::string& error) {
  code = 1;
  const bool foreign = options_.mode == SaverMode::kRoot || options_.mode == SaverMode::kWindowId;
  if (foreign) {
    error = WhyNotOnThisSession(options_);
    if (!error.empty())
      return false;
    // No input method may select key events on the host's window for us.
    setenv("XMODIFIERS", "@im=none", 1);
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11");
    // The window's own surface, put to the display with shared memory.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  }
  // The host's screensaver logic keeps running; the stop signals are ours.
  SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
  CatchXErrors();
  // A host's window is X11's; windows of our own go where StartVideo says.
  const bool started = foreign ? SDL_Init(SDL_INIT_VIDEO) == 0 : StartVideo(error);
  if (!started) {
    error = "cannot open the display: " + (foreign ? std::string(SDL_GetError()) : error);
    return false;
  }
  sdlStarted_ = true;
  SDL_StopTextInput();
  // Marking a host's window as a drop target would change it.
  for (Uint32 type : {SDL_DROPFILE, SDL_DROPTEXT, SDL_DROPBEGIN, SDL_DROPCOMPLETE})
    SDL_EventState(type, SDL_DISABLE);

  std::optional<XDisplayFacts> facts =
      VideoOnWayland() ? std::optional(OutputsFromSdl()) : QueryDisplay(error);
  if (!facts)
    return false;
  facts_ = *facts;

  return OpenWindows(options_, facts_, windows_, code, error);
}

void SaverApp::LayOut(SaverWindow& target) {
  if (!target.pixels)
    target.pixels = std::make_unique<WindowPixels>(target.window);
  int width = 0;
  int height = 0;
  target.pixels->Size(width, height);
  for (const auto& area : target.areas)
    retiredPixels_ += area->Pixels();
  target.areas.clear();
  target.canvas =
      std::make_unique<WindowCanvas>(*target.pixels, std::max(width, 1), std::max(height, 1));
  const Rect whole{0, 0, target.canvas->Width(), target.canvas->Height()};
  std::vector<Rect> areas = {whole};
  if (target.isRoot) {
    // The root window spans every monitor: a show on each.
    std::string error;
    if (auto facts = QueryDisplay(error))
      facts_ = *facts;
    areas = LayOutShows(whole, facts_.monitors);
  }
  for (const Rect& area : areas)
    target.areas.push_back(std::make_unique<AreaCanvas>(*target.canvas, area, banner_));
  target.whole = true;
  target.resized = false;
}

std::uint64_t SaverApp::TurnWorth() const {
  // The settings' wait, if they give one, sets the speed as it does zirvo's.
  Settings settings;
  const std::string path =
      setup_.settings ? *setup_.settings : loader_.SettingsPathFor(setup_.scenes.front());
  ReadSettings(path, ScreenSize{1024, 768}, settings);
  if (settings.WaitCount == 0)
    return kCalibratedTurnUs;
  SteadyMicrosecondClock clock;
  return TurnWorthUs(settings.WaitCount, MeasureRepetitionNs(clock));
}

void SaverApp::BuildShows() {
  shows_.clear();
  turnUs_ = TurnWorth();
  const ShowTiming timing{turnUs_};
  std::uint32_t index = 0;
  std::vector<SaverShow*> all;
  for (SaverWindow& target : windows_) {
    target.shows.clear();
    for (const auto& area : target.areas) {
      const std::uint32_t seed = seed_ + index++;
      shows_.push_back(std::make_unique<SaverShow>(
          *area, loader_, SceneRotation(setup_.scenes, seed), timing, seed));
      target.shows.push_back(shows_.back().get());
      all.push_back(shows_.back().get());
    }
  }
  loop_->SetShows(all);
  loop_->RestartAll();
}

SaverWindow* SaverApp::WindowOf(Uint32 windowId) {
  for (SaverWindow& target : windows_) {
    if (SDL_GetWindowID(target.window) == windowId)
      return &target;
  }
  return nullptr;
}

void SaverApp::Handle(const SDL_Event& event) {
  switch (event.type) {
    case SDL_QUIT:
      quit_ = true;
      break;
    case SDL_WINDOWEVENT:
      if (SaverWindow* target = WindowOf(event.window.windowID)) {
        if (event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)
          target->resized = true;
        else if (event.window.event == SDL_WINDOWEVENT_EXPOSED)
          target->whole = true;
        else if (event.window.event == SDL_WINDOWEVENT_CLOSE)
          quit_ = true;
      }
      break;
    case SDL_SYSWMEVENT:
      for (const SaverWindow& target : windows_) {
        if (target.foreign && !target.isRoot && FateOf(event, target.xid) != WindowFate::kNothing)
          quit_ = true;
      }
      break;
    case SDL_KEYDOWN:
      // Only a window of our own receives keys: on a host's window no input
      // event is selected.
      if (SaverWindow* target = WindowOf(event.key.windowID); target != nullptr && !target->foreign)
        HandleKey(event.key);
      break;
    default:
      break;
  }
}

void SaverApp::HandleKey(const SDL_KeyboardEvent& key) {
  switch (key.keysym.sym) {
    case SDLK_SPACE:
      loop_->TogglePause();
      break;
    case SDLK_UP:
      loop_->SpeedUp();
      break;
    case SDLK_DOWN:
      loop_->SlowDown();
      break;
    case SDLK_r:
      loop_->RestartAll();
      break;
    case SDLK_s:
      SaveShot(key.windowID);
      break;
    case SDLK_ESCAPE:
    case SDLK_q:
      quit_ = true;
      break;
    default:
      break;
  }
}

void SaverApp::ApplyResizes() {
  bool rebuild = false;
  const std::uint64_t now = clock_.NowUs();
  for (SaverWindow& target : windows_) {
    if (!target.resized)
      continue;
    target.resized = false;
    int width = 0;
    int height = 0;
    target.pixels->Size(width, height);
    if (width > 0 && height > 0 && target.canvas && width == target.canvas->Width() &&
        height == target.canvas->Height()) {
      target.whole = true;  // the same size: only a new surface
      continue;
    }
    const std::size_t before = target.areas.size();
    LayOut(target);
    if (overlay_ && &target == &windows_.front()) {
      const Rect& first = target.areas.front()->Area();
      overlay_->Place(first.x + kOverlayInset, first.y + kOverlayInset);
    }
    if (target.areas.size() != before) {
      rebuild = true;
      continue;
    }
    // The same shows, started over on the new areas with a mapping for their size.
    for (std::size_t i = 0; i < target.shows.size(); ++i)
      target.shows[i]->MoveTo(*target.areas[i], now);
  }
  if (rebuild)
    BuildShows();
}

void SaverApp::Present() {
  for (std::size_t i = 0; i < windows_.size(); ++i) {
    SaverWindow& target = windows_[i];
    target.canvas->Present(target.whole, i == 0 ? overlay_.get() : nullptr);
    target.whole = false;
  }
}

void SaverApp::WaitUntil(std::uint64_t dueUs) {
  while (!Stopping()) {
    const std::uint64_t now = clock_.NowUs();
    if (now >= dueUs)
      return;
    const std::uint64_t ms = std::min(kLongestWaitMs, (dueUs - now + 999) / 1000);
    SDL_Event event;
    if (SDL_WaitEventTimeout(&event, static_cast<int>(ms)) != 0)
      Handle(event);
  }
}

void SaverApp::Report(const FrameWork& work) {
  const std::uint64_t now = clock_.NowUs();
  framesBehind_ += work.behind ? 1 : 0;
  if (rate_.Add(now, work.turns, work.behind) && overlay_) {
    std::string text = rate_.Text();
    if (loop_->Speed() != 1.0) {
      char speed[32];
      std::snprintf(speed, sizeof speed, ", speed %.2f", loop_->Speed());
      text += speed;
    }
    overlay_->SetText(loop_->Paused() ? text + ", paused" : text);
  }
  if (options_.stats && now >= nextStatsUs_) {
    nextStatsUs_ = now + 1'000'000;
    std::uint64_t pixels = retiredPixels_;
    for (const SaverWindow& target : windows_) {
      for (const auto& area : target.areas)
        pixels += area->Pixels();
    }
    std::fprintf(stderr,
                 "zirvo-saver-stats ms=%llu frames=%llu turns=%llu pixels=%llu behind=%llu "
                 "speed=%.4f turn_us=%llu\n",
                 static_cast<unsigned long long>(now / 1000),
                 static_cast<unsigned long long>(loop_->Frames()),
                 static_cast<unsigned long long>(loop_->Turns()),
                 static_cast<unsigned long long>(pixels),
                 static_cast<unsigned long long>(framesBehind_), loop_->Speed(),
                 static_cast<unsigned long long>(turnUs_));
    std::fflush(stderr);
  }
}

void SaverApp::SaveShot(Uint32 windowId) {
  SaverWindow* target = WindowOf(windowId);
  if (target == nullptr || target->shows.empty())
    return;
  namespace fs = std::filesystem;
  const fs::path scene = target->shows.front()->Scene();
  fs::path path;
  for (int n = 1;; ++n) {
    path = scene.parent_path() / (scene.stem().string() + "-" + std::to_string(n) + ".png");
    std::error_code ignored;
    if (!fs::exists(path, ignored))
      break;
  }
  std::FILE* out = std::fopen(path.c_str(), "wb");
  std::string error = out == nullptr ? "cannot be created" : "";
  if (out != nullptr) {
    tools::WritePng(target->canvas->Frame(), out, error);
    if (std::fclose(out) != 0 && error.empty())
      error = "cannot be written";
  }
  if (error.empty())
    std::fprintf(stderr, "zirvo-saver: saved %s\n", tools::Printable(path.string()).c_str());
  else
    std::fprintf(stderr, "zirvo-saver: %s: %s\n", tools::Printable(path.string()).c_str(),
                 error.c_str());
}

int SaverApp::Run() {
  int code = 0;
  std::string error;
  if (!Open(code, error)) {
    std::fprintf(stderr, "zirvo-saver: %s\n", tools::Printable(error).c_str());
    return code;
  }
  std::uint64_t frameUs = options_.frameUs.value_or(0);
  if (frameUs == 0) {
    SDL_DisplayMode mode;
    const int hz =
        SDL_GetDesktopDisplayMode(0, &mode) == 0 && mode.refresh_rate > 0 ? mode.refresh_rate : 60;
    frameUs = 1'000'000 / static_cast<std::uint64_t>(hz);
  }
  loop_ = std::make_unique<FrameLoop>(clock_, frameUs, options_.speed);
  for (SaverWindow& target : windows_)
    LayOut(target);
  if (options_.fps) {
    overlay_ = std::make_unique<TextOverlay>();
    const Rect& first = windows_.front().areas.front()->Area();
    if (!overlay_->Open(first.height, error)) {
      std::fprintf(stderr, "zirvo-saver: --fps cannot draw its text: %s\n", error.c_str());
      overlay_.reset();
    } else {
      overlay_->Place(first.x + kOverlayInset, first.y + kOverlayInset);
    }
  }
  if (options_.watch) {
    watch_ = std::make_unique<FileWatch>(std::vector<std::string>{
        setup_.scenes.front(), loader_.SettingsPathFor(setup_.scenes.front())});
  }
  BuildShows();

  while (!Stopping()) {
    SDL_Event event;
    while (!Stopping() && SDL_PollEvent(&event) != 0)
      Handle(event);
    for (const SaverWindow& target : windows_) {
      if (target.foreign && XErrorNamed(target.xid))
        quit_ = true;  // the host's window went away under a drawing call
      if (target.pixels && target.pixels->DisplayLost())
        quit_ = true;
    }
    if (Stopping())
      break;
    ApplyResizes();
    if (watch_) {
      const std::string changed = watch_->Poll(clock_.NowUs());
      if (!changed.empty()) {
        std::fprintf(stderr, "zirvo-saver: %s changed: starting again\n",
                     tools::Printable(changed).c_str());
        loader_.ForgetReports();
        loop_->RestartAll();
      }
    }
    const FrameWork work = loop_->RunFrame();
    Present();
    Report(work);
    WaitUntil(loop_->NextFrameUs());
  }
  // A compositor that went away may have said quit first: still a failure.
  for (const SaverWindow& target : windows_) {
    if (target.pixels && target.pixels->DisplayLost()) {
      std::fprintf(stderr, "zirvo-saver: the display went away\n");
      return 1;
    }
  }
  return 0;
}

}  // namespace

void CatchStopSignals() {
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = 0;  // no SA_RESTART: a wait is cut short
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
}

int RunSaver(const SaverSetup& setup) {
  SaverApp app(setup);
  return app.Run();
}

}  // namespace zirvo::saver
