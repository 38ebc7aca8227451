#include "platform/sdl-saver/X11Host.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/extensions/Xinerama.h>

#include <set>

namespace zirvo::saver {

namespace {

// The resources X errors named since CatchXErrors. Xlib calls the handler on
// the thread that reads the connection, here the only one.
std::set<std::uint64_t>& NamedByErrors() {
  static std::set<std::uint64_t> named;
  return named;
}

int NoteXError(Display* /*display*/, XErrorEvent* event) {
  NamedByErrors().insert(event->resourceid);
  return 0;
}

bool probeFailed = false;
int NoteProbeError(Display* /*display*/, XErrorEvent* /*event*/) {
  probeFailed = true;
  return 0;
}

}  // namespace

std::optional<XDisplayFacts> QueryDisplay(std::string& error) {
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    error = "cannot open the X display (is DISPLAY set?)";
    return std::nullopt;
  }
  XDisplayFacts facts;
  facts.root = DefaultRootWindow(display);
  const int screen = DefaultScreen(display);
  facts.rootRect = Rect{0, 0, DisplayWidth(display, screen), DisplayHeight(display, screen)};
  int eventBase = 0;
  int errorBase = 0;
  if (XineramaQueryExtension(display, &eventBase, &errorBase) && XineramaIsActive(display)) {
    int count = 0;
    if (XineramaScreenInfo* heads = XineramaQueryScreens(display, &count)) {
      for (int i = 0; i < count; ++i) {
        facts.monitors.push_back(
            Rect{heads[i].x_org, heads[i].y_org, heads[i].width, heads[i].height});
      }
      XFree(heads);
    }
  }
  XCloseDisplay(display);
  return facts;
}

bool WindowExists(std::uint64_t window) {
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr)
    return false;
  probeFailed = false;
  auto* previous = XSetErrorHandler(NoteProbeError);
  XWindowAttributes attributes;
  const Status status = XGetWindowAttributes(display, static_cast<Window>(window), &attributes);
  XSync(display, False);
  XSetErrorHandler(previous);
  XCloseDisplay(display);
  return status != 0 && !probeFailed;
}

void CatchXErrors() {
  XSetErrorHandler(NoteXError);
}

bool XErrorNamed(std::uint64_t window) {
  return NamedByErrors().count(window) != 0;
}

bool WatchWindow(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (SDL_GetWindowWMInfo(window, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_X11)
    return false;
  SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
  XSelectInput(info.info.x11.display, info.info.x11.window, StructureNotifyMask | ExposureMask);
  XFlush(info.info.x11.display);
  return true;
}

WindowFate FateOf(const SDL_Event& event, std::uint64_t window) {
  if (event.type != SDL_SYSWMEVENT || event.syswm.msg == nullptr ||
      event.syswm.msg->subsystem != SDL_SYSWM_X11)
    return WindowFate::kNothing;
  const XEvent& x = event.syswm.msg->msg.x11.event;
  if (x.type == DestroyNotify && x.xdestroywindow.window == window)
    return WindowFate::kDestroyed;
  if (x.type == UnmapNotify && x.xunmap.window == window)
    return WindowFate::kUnmapped;
  return WindowFate::kNothing;
}

}  // namespace zirvo::saver
