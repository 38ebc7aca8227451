// A small screensaver host for zirvo-saver's end-to-end tests: it owns a window
// (and its input), or RandR monitors, and does to them what the test asks on
// standard input, one command a line, answering on standard output:
//   window X Y W H     create and map a window; answers "window 0xID"
//   masks              "masks own=0x... all=0x..." (event masks on the window)
//   state              "state X Y W H MAPPED NAME PROPERTIES" of the window
//   resize W H | unmap | destroy              answers "ok"
//   monitors X,Y,W,H ...   RandR monitors, kept while the host runs; "ok"
//   quit
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xrandr.h>

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Events the host selects on its window, as a screensaver host does: input is
// the host's.
constexpr long kHostMask = KeyPressMask | KeyReleaseMask | ButtonPressMask | ButtonReleaseMask |
                           PointerMotionMask | StructureNotifyMask;

Window MakeWindow(Display* display, int x, int y, unsigned width, unsigned height) {
  const int screen = DefaultScreen(display);
  const Window window =
      XCreateSimpleWindow(display, RootWindow(display, screen), x, y, width, height, 0, 0,
                          0x202020);  // dark grey: the host's own background
  XStoreName(display, window, "saver host");
  XSelectInput(display, window, kHostMask);
  XMapWindow(display, window);
  XEvent event;
  do {
    XWindowEvent(display, window, StructureNotifyMask, &event);
  } while (event.type != MapNotify);
  return window;
}

std::string PropertyNames(Display* display, Window window) {
  int count = 0;
  Atom* atoms = XListProperties(display, window, &count);
  std::vector<std::string> names;
  for (int i = 0; i < count; ++i) {
    char* name = XGetAtomName(display, atoms[i]);
    names.emplace_back(name != nullptr ? name : "?");
    XFree(name);
  }
  if (atoms != nullptr)
    XFree(atoms);
  std::sort(names.begin(), names.end());
  std::string joined;
  for (const std::string& name : names)
    joined += (joined.empty() ? "" : ",") + name;
  return joined.empty() ? "-" : joined;
}

bool SetMonitors(Display* display, std::istringstream& words) {
  const Window root = DefaultRootWindow(display);
  XRRScreenResources* resources = XRRGetScreenResources(display, root);
  if (resources == nullptr || resources->noutput < 1)
    return false;
  RROutput output = resources->outputs[0];
  std::string rectangle;
  for (int index = 0; words >> rectangle; ++index) {
    int x = 0, y = 0, width = 0, height = 0;
    if (std::sscanf(rectangle.c_str(), "%d,%d,%d,%d", &x, &y, &width, &height) != 4)
      return false;
    XRRMonitorInfo* monitor = XRRAllocateMonitor(display, index == 0 ? 1 : 0);
    monitor->name = XInternAtom(display, ("HOST-" + std::to_string(index)).c_str(), False);
    monitor->primary = index == 0;
    monitor->automatic = False;
    monitor->x = x;
    monitor->y = y;
    monitor->width = width;
    monitor->height = height;
    monitor->mwidth = width / 4;
    monitor->mheight = height / 4;
    // The first one takes the screen's output, so the server's automatic
    // monitor for that output (the whole screen) goes away.
    if (index == 0)
      monitor->outputs[0] = output;
    XRRSetMonitor(display, root, monitor);
    XFree(monitor);
  }
  XRRFreeScreenResources(resources);
  XSync(display, False);
  return true;
}

}  // namespace

int main() {
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    std::fprintf(stderr, "saver_host: cannot open the display\n");
    return 2;
  }
  Window window = 0;
  std::string line;
  while (std::getline(std::cin, line)) {
    std::istringstream words(line);
    std::string command;
    words >> command;
    std::string answer = "ok";
    if (command == "window") {
      int x = 0, y = 0;
      unsigned width = 0, height = 0;
      words >> x >> y >> width >> height;
      window = MakeWindow(display, x, y, width, height);
      char text[64];
      std::snprintf(text, sizeof text, "window 0x%lx", window);
      answer = text;
    } else if (command == "masks") {
      XWindowAttributes attributes;
      XGetWindowAttributes(display, window, &attributes);
      char text[96];
      std::snprintf(text, sizeof text, "masks own=0x%lx all=0x%lx", attributes.your_event_mask,
                    attributes.all_event_masks);
      answer = text;
    } else if (command == "state") {
      XWindowAttributes attributes;
      XGetWindowAttributes(display, window, &attributes);
      char* name = nullptr;
      XFetchName(display, window, &name);
      std::ostringstream text;
      text << "state " << attributes.x << " " << attributes.y << " " << attributes.width << " "
           << attributes.height << " " << (attributes.map_state == IsViewable ? 1 : 0) << " "
           << (name != nullptr ? name : "-") << " " << PropertyNames(display, window);
      XFree(name);
      answer = text.str();
    } else if (command == "resize") {
      unsigned width = 0, height = 0;
      words >> width >> height;
      XResizeWindow(display, window, width, height);
    } else if (command == "unmap") {
      XUnmapWindow(display, window);
    } else if (command == "destroy") {
      XDestroyWindow(display, window);
    } else if (command == "monitors") {
      if (!SetMonitors(display, words))
        answer = "error: cannot set the monitors";
    } else if (command == "quit") {
      break;
    } else {
      answer = "error: unknown command " + command;
    }
    XSync(display, False);
    std::cout << answer << std::endl;
  }
  XCloseDisplay(display);
  return 0;
}
