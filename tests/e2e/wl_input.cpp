// wl_input: a keyboard and a pointer for the Wayland end-to-end tests. A
// headless compositor has no input devices; this client gives its seat a
// virtual keyboard (with the US layout, as a real keyboard has: a keymap
// without a layout name takes another road through SDL 2.26, where it
// crashes) and a virtual pointer, both there for as long as it runs, so that
// clients see one keyboard and one pointer throughout. Commands on stdin, one
// line each, each answered "ok" (or "error ...") on stdout once the
// compositor has handled it:
//   key NAME...       press and release each key (X keysym names: Scroll_Lock, Up, a)
//   move X Y W H      the pointer to X, Y of a layout W x H (in points)
//   click left|right  a press and a release of that button
//   quit
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <iostream>
#include <sstream>
#include <string>

namespace {

// The two protocols' interfaces as their XML declares them (requests only,
// in order; none has events).
extern const wl_interface kVirtualPointer;
extern const wl_interface kVirtualKeyboard;
const wl_interface* kPointerCreateTypes[] = {&wl_seat_interface, &kVirtualPointer};
const wl_interface* kKeyboardCreateTypes[] = {&wl_seat_interface, &kVirtualKeyboard};
const wl_interface* kNoTypes[] = {nullptr, nullptr, nullptr, nullptr, nullptr};
const wl_message kPointerManagerRequests[] = {
    {"create_virtual_pointer", "?on", kPointerCreateTypes},
    {"destroy", "", nullptr},
};
const wl_interface kPointerManager = {"zwlr_virtual_pointer_manager_v1", 1, 2,
                                      kPointerManagerRequests,           0, nullptr};
const wl_message kPointerRequests[] = {
    {"motion", "uff", kNoTypes},   {"motion_absolute", "uuuuu", kNoTypes},
    {"button", "uuu", kNoTypes},   {"axis", "uuf", kNoTypes},
    {"frame", "", nullptr},        {"axis_source", "u", kNoTypes},
    {"axis_stop", "uu", kNoTypes}, {"axis_discrete", "uufi", kNoTypes},
    {"destroy", "", nullptr},
};
const wl_interface kVirtualPointer = {"zwlr_virtual_pointer_v1", 1, 9,
                                      kPointerRequests,          0, nullptr};
const wl_message kKeyboardManagerRequests[] = {
    {"create_virtual_keyboard", "on", kKeyboardCreateTypes},
};
const wl_interface kKeyboardManager = {"zwp_virtual_keyboard_manager_v1", 1, 1,
                                       kKeyboardManagerRequests,          0, nullptr};
const wl_message kKeyboardRequests[] = {
    {"keymap", "uhu", kNoTypes},
    {"key", "uuu", kNoTypes},
    {"modifiers", "uuuu", kNoTypes},
    {"destroy", "", nullptr},
};
const wl_interface kVirtualKeyboard = {"zwp_virtual_keyboard_v1", 1, 4,
                                       kKeyboardRequests,         0, nullptr};
enum PointerRequest : std::uint32_t { kMotionAbsolute = 1, kButton = 2, kFrame = 4 };
enum KeyboardRequest : std::uint32_t { kKeymap = 0, kKey = 1 };

constexpr std::uint32_t kButtonLeft = 0x110;  // BTN_LEFT, BTN_RIGHT of linux/input.h
constexpr std::uint32_t kButtonRight = 0x111;
constexpr std::uint32_t kEvdevOffset = 8;  // an XKB keycode is the evdev code + 8

struct Globals {
  wl_seat* seat = nullptr;
  wl_proxy* pointers = nullptr;
  wl_proxy* keyboards = nullptr;
};

void OnGlobal(void* data, wl_registry* registry, std::uint32_t name, const char* interface,
              std::uint32_t /*version*/) {
  auto* globals = static_cast<Globals*>(data);
  if (globals->seat == nullptr && std::strcmp(interface, wl_seat_interface.name) == 0) {
    globals->seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
  } else if (std::strcmp(interface, kPointerManager.name) == 0) {
    globals->pointers =
        static_cast<wl_proxy*>(wl_registry_bind(registry, name, &kPointerManager, 1));
  } else if (std::strcmp(interface, kKeyboardManager.name) == 0) {
    globals->keyboards =
        static_cast<wl_proxy*>(wl_registry_bind(registry, name, &kKeyboardManager, 1));
  }
}

void OnGlobalRemoved(void*, wl_registry*, std::uint32_t) {}

std::uint32_t NowMs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<std::uint32_t>(now.tv_sec * 1000 + now.tv_nsec / 1000000);
}

// The keycode whose first level is `name`'s keysym; 0 for none.
xkb_keycode_t KeycodeOf(xkb_keymap* keymap, const std::string& name) {
  const xkb_keysym_t wanted = xkb_keysym_from_name(name.c_str(), XKB_KEYSYM_NO_FLAGS);
  if (wanted == XKB_KEY_NoSymbol)
    return 0;
  for (xkb_keycode_t code = xkb_keymap_min_keycode(keymap); code <= xkb_keymap_max_keycode(keymap);
       ++code) {
    const xkb_keysym_t* syms = nullptr;
    if (xkb_keymap_key_get_syms_by_level(keymap, code, 0, 0, &syms) > 0 && syms[0] == wanted)
      return code;
  }
  return 0;
}

// Hands the compositor `keymap` in shared memory, as a keyboard does.
bool SendKeymap(wl_proxy* keyboard, xkb_keymap* keymap) {
  char* text = xkb_keymap_get_as_string(keymap, XKB_KEYMAP_FORMAT_TEXT_V1);
  if (text == nullptr)
    return false;
  const std::size_t size = std::strlen(text) + 1;
  const int fd = memfd_create("wl-input-keymap", MFD_CLOEXEC);
  const bool written = fd >= 0 && write(fd, text, size) == static_cast<ssize_t>(size);
  std::free(text);
  if (written) {
    wl_proxy_marshal(keyboard, kKeymap, XKB_KEYMAP_FORMAT_TEXT_V1, fd,
                     static_cast<std::uint32_t>(size));
  }
  if (fd >= 0)
    close(fd);
  return written;
}

void Answer(const std::string& text) {
  std::printf("%s\n", text.c_str());
  std::fflush(stdout);
}

}  // namespace

int main() {
  wl_display* display = wl_display_connect(nullptr);
  if (display == nullptr) {
    Answer("error cannot connect to the Wayland display");
    return 1;
  }
  Globals globals;
  const wl_registry_listener listener = {OnGlobal, OnGlobalRemoved};
  wl_registry* registry = wl_display_get_registry(display);
  wl_registry_add_listener(registry, &listener, &globals);
  wl_display_roundtrip(display);
  if (globals.seat == nullptr || globals.pointers == nullptr || globals.keyboards == nullptr) {
    Answer("error the compositor lacks a seat or the virtual pointer and keyboard protocols");
    return 1;
  }
  xkb_context* context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
  const xkb_rule_names names = {"evdev", "pc105", "us", "", ""};
  xkb_keymap* keymap = context != nullptr
                           ? xkb_keymap_new_from_names(context, &names, XKB_KEYMAP_COMPILE_NO_FLAGS)
                           : nullptr;
  if (keymap == nullptr) {
    Answer("error no US keymap (xkb-data)");
    return 1;
  }
  auto* pointer =
      wl_proxy_marshal_constructor(globals.pointers, 0, &kVirtualPointer, globals.seat, nullptr);
  auto* keyboard =
      wl_proxy_marshal_constructor(globals.keyboards, 0, &kVirtualKeyboard, globals.seat, nullptr);
  if (!SendKeymap(keyboard, keymap)) {
    Answer("error the keymap could not be sent");
    return 1;
  }
  wl_display_roundtrip(display);

  std::string line;
  while (std::getline(std::cin, line)) {
    std::istringstream words(line);
    std::string command;
    words >> command;
    if (command == "quit")
      break;
    if (command == "key") {
      std::string name;
      bool known = true;
      while (known && words >> name) {
        const xkb_keycode_t code = KeycodeOf(keymap, name);
        known = code != 0;
        if (known) {
          wl_proxy_marshal(keyboard, kKey, NowMs(), code - kEvdevOffset,
                           WL_KEYBOARD_KEY_STATE_PRESSED);
          wl_proxy_marshal(keyboard, kKey, NowMs(), code - kEvdevOffset,
                           WL_KEYBOARD_KEY_STATE_RELEASED);
        }
      }
      if (!known) {
        Answer("error no key for '" + name + "' in the US layout");
        continue;
      }
    } else if (command == "move") {
      std::uint32_t x = 0, y = 0, width = 0, height = 0;
      if (!(words >> x >> y >> width >> height) || width == 0 || height == 0) {
        Answer("error move X Y W H");
        continue;
      }
      wl_proxy_marshal(pointer, kMotionAbsolute, NowMs(), x, y, width, height);
      wl_proxy_marshal(pointer, kFrame);
    } else if (command == "click") {
      std::string which;
      words >> which;
      if (which != "left" && which != "right") {
        Answer("error click left|right");
        continue;
      }
      const std::uint32_t button = which == "left" ? kButtonLeft : kButtonRight;
      wl_proxy_marshal(pointer, kButton, NowMs(), button, WL_POINTER_BUTTON_STATE_PRESSED);
      wl_proxy_marshal(pointer, kFrame);
      wl_proxy_marshal(pointer, kButton, NowMs(), button, WL_POINTER_BUTTON_STATE_RELEASED);
      wl_proxy_marshal(pointer, kFrame);
    } else {
      Answer("error unknown command '" + command + "'");
      continue;
    }
    if (wl_display_roundtrip(display) < 0) {
      Answer("error the compositor went away");
      return 1;
    }
    Answer("ok");
  }
  // The process's end takes the devices with it.
  xkb_keymap_unref(keymap);
  xkb_context_unref(context);
  wl_display_disconnect(display);
  return 0;
}
