#include "platform/sdl-saver/SaverApp.h"

#include <SDL.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <memory>

#include "app/Clocks.h"
#include "app/FramePacer.h"
#include "app/MonitorLayout.h"
#include "app/SaverCore.h"
#include "image/PngWriter.h"
#include "platform/sdl-saver/FileWatch.h"
#include "platform/sdl-saver/SaverLoader.h"
#include "platform/sdl-saver/SaverWindows.h"
#include "platform/sdl-saver/TextPainters.h"
#include "platform/sdl-saver/WaylandSession.h"
#include "platform/sdl-saver/WindowCanvas.h"
#include "platform/sdl-saver/X11Host.h"
#include "platform/sdl/SdlVideo.h"
#include "platform/sdl/WindowPixels.h"
#include "report/NoteFormat.h"

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
  // Every window's areas, for the core.
  void GiveAreas();

  void Handle(const SDL_Event& event);
  void HandleKey(const SDL_KeyboardEvent& key);
  void ApplyResizes();
  void Present();
  void WaitUntil(std::uint64_t dueNs);
  void Report();
  void SaveShot(Uint32 windowId);
  SaverWindow* WindowOf(Uint32 windowId);
  bool Stopping() const { return quit_ || stopSignalled != 0; }

  const SaverSetup& setup_;
  const SaverOptions& options_;
  SteadyClock clock_;
  SaverLoader loader_;
  BannerPainter banner_;
  XDisplayFacts facts_;
  std::vector<SaverWindow> windows_;
  std::vector<std::unique_ptr<WindowCanvas>> retired_;  // until the core lets go of them
  std::unique_ptr<SaverCore> core_;
  std::unique_ptr<TextOverlay> overlay_;
  std::unique_ptr<FileWatch> watch_;
  bool sdlStarted_ = false;
  bool quit_ = false;
};

SaverApp::SaverApp(const SaverSetup& setup)
    : setup_(setup),
      options_(setup.options),
      loader_(setup.programPath, setup.settings, setup.options.watch.has_value()) {}

SaverApp::~SaverApp() {
  core_.reset();
  overlay_.reset();
  retired_.clear();
  for (SaverWindow& target : windows_) {
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
  // The old canvas lives until the core has let go of it (GiveAreas): a new
  // one at its address must not pass for it.
  if (target.canvas)
    retired_.push_back(std::move(target.canvas));
  target.canvas = std::make_unique<WindowCanvas>(*target.pixels, std::max(width, 1),
                                                 std::max(height, 1), banner_);
  const Rect whole{0, 0, target.canvas->Width(), target.canvas->Height()};
  target.areas = {whole};
  if (target.isRoot) {
    // The root window spans every monitor: a show on each.
    std::string error;
    if (auto facts = QueryDisplay(error))
      facts_ = *facts;
    target.areas = LayOutShows(whole, facts_.monitors);
  }
  target.whole = true;
  target.resized = false;
}

void SaverApp::GiveAreas() {
  std::vector<SaverArea> areas;
  for (SaverWindow& target : windows_) {
    for (const Rect& area : target.areas)
      areas.push_back(SaverArea{target.canvas.get(), area});
  }
  core_->SetAreas(areas);
  retired_.clear();
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
  SaverKey saverKey = SaverKey::kOther;
  switch (key.keysym.sym) {
    case SDLK_SPACE:
      saverKey = SaverKey::kSpace;
      break;
    case SDLK_UP:
      saverKey = SaverKey::kUp;
      break;
    case SDLK_DOWN:
      saverKey = SaverKey::kDown;
      break;
    case SDLK_r:
      saverKey = SaverKey::kR;
      break;
    case SDLK_s:
      saverKey = SaverKey::kS;
      break;
    case SDLK_ESCAPE:
      saverKey = SaverKey::kEscape;
      break;
    case SDLK_q:
      saverKey = SaverKey::kQ;
      break;
    default:
      break;
  }
  switch (core_->OnKey(saverKey)) {
    case SaverRequest::kScreenshot:
      SaveShot(key.windowID);
      break;
    case SaverRequest::kQuit:
      quit_ = true;
      break;
    case SaverRequest::kNothing:
      break;
  }
}

void SaverApp::ApplyResizes() {
  bool changed = false;
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
    LayOut(target);
    changed = true;
    if (overlay_ && &target == &windows_.front()) {
      const Rect& first = target.areas.front();
      overlay_->Place(first.x + kOverlayInset, first.y + kOverlayInset);
    }
  }
  if (changed)
    GiveAreas();
}

void SaverApp::Present() {
  for (std::size_t i = 0; i < windows_.size(); ++i) {
    SaverWindow& target = windows_[i];
    target.canvas->Present(target.whole, i == 0 ? overlay_.get() : nullptr);
    target.whole = false;
  }
}

void SaverApp::WaitUntil(std::uint64_t dueNs) {
  while (!Stopping()) {
    const std::uint64_t now = clock_.NowNs();
    if (now >= dueNs)
      return;
    const std::uint64_t ms = std::min(kLongestWaitMs, (dueNs - now + 999'999) / 1'000'000);
    SDL_Event event;
    if (SDL_WaitEventTimeout(&event, static_cast<int>(ms)) != 0)
      Handle(event);
  }
}

void SaverApp::Report() {
  if (overlay_) {
    if (const std::string text = core_->TakeStatus(); !text.empty())
      overlay_->SetText(text);
  }
  if (options_.stats) {
    if (const std::string stats = core_->TakeStats(); !stats.empty()) {
      std::fprintf(stderr, "zirvo-saver-stats %s\n", stats.c_str());
      std::fflush(stderr);
    }
  }
}

void SaverApp::SaveShot(Uint32 windowId) {
  SaverWindow* target = WindowOf(windowId);
  if (target == nullptr)
    return;
  const std::string path = core_->ScreenshotPath(*target->canvas, [](const std::string& file) {
    std::error_code ignored;
    return std::filesystem::exists(file, ignored);
  });
  if (path.empty())
    return;
  std::FILE* out = std::fopen(path.c_str(), "wb");
  std::string error = out == nullptr ? "cannot be created" : "";
  if (out != nullptr) {
    WritePng(target->canvas->Image(), out, error);
    if (std::fclose(out) != 0 && error.empty())
      error = "cannot be written";
  }
  if (error.empty())
    std::fprintf(stderr, "zirvo-saver: saved %s\n", Printable(path).c_str());
  else
    std::fprintf(stderr, "zirvo-saver: %s: %s\n", Printable(path).c_str(), error.c_str());
}

int SaverApp::Run() {
  int code = 0;
  std::string error;
  if (!Open(code, error)) {
    std::fprintf(stderr, "zirvo-saver: %s\n", Printable(error).c_str());
    return code;
  }
  SaverChoices choices;
  choices.scenes = setup_.scenes;
  choices.seed = options_.seed ? *options_.seed : static_cast<std::uint32_t>(std::time(nullptr));
  choices.speed = options_.speed;
  if (options_.frameUs) {
    choices.frameNs = *options_.frameUs * 1000;
  } else {
    SDL_DisplayMode mode;
    choices.frameNs = FramePacer::FrameNsOfRefresh(
        SDL_GetDesktopDisplayMode(0, &mode) == 0 ? mode.refresh_rate : 0);
  }
  core_ = std::make_unique<SaverCore>(loader_, choices, clock_);
  for (SaverWindow& target : windows_)
    LayOut(target);
  if (options_.fps) {
    overlay_ = std::make_unique<TextOverlay>();
    const Rect& first = windows_.front().areas.front();
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
  GiveAreas();

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
      const std::string changed = watch_->Poll(clock_.NowNs());
      if (!changed.empty()) {
        std::fprintf(stderr, "zirvo-saver: %s changed: starting again\n",
                     Printable(changed).c_str());
        loader_.ForgetReports();
        core_->RestartAll();
      }
    }
    core_->Frame();
    Present();
    Report();
    WaitUntil(core_->NextFrameNs());
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
