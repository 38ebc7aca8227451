// Closes the window named on the command line the way a window manager does:
// a WM_DELETE_WINDOW message. Exit code 0 when sent, 1 when no such window.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cstdio>
#include <cstring>

namespace {

Window FindByName(Display* display, Window window, const char* name) {
  char* windowName = nullptr;
  if (XFetchName(display, window, &windowName) != 0 && windowName != nullptr) {
    const bool match = std::strcmp(windowName, name) == 0;
    XFree(windowName);
    if (match)
      return window;
  }
  Window root = 0;
  Window parent = 0;
  Window* children = nullptr;
  unsigned int count = 0;
  Window found = 0;
  if (XQueryTree(display, window, &root, &parent, &children, &count) != 0) {
    for (unsigned int i = 0; i < count && found == 0; ++i) {
      found = FindByName(display, children[i], name);
    }
    if (children != nullptr)
      XFree(children);
  }
  return found;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: wm_close WINDOW-NAME\n");
    return 2;
  }
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    std::fprintf(stderr, "wm_close: cannot open the display\n");
    return 2;
  }
  const Window window = FindByName(display, DefaultRootWindow(display), argv[1]);
  if (window == 0) {
    XCloseDisplay(display);
    return 1;
  }
  XEvent event;
  std::memset(&event, 0, sizeof event);
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(display, window, False, NoEventMask, &event);
  XFlush(display);
  XCloseDisplay(display);
  return 0;
}
