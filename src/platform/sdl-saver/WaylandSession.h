// zirvo-saver on a Wayland session: which modes can run there, and the
// outputs as SDL's Wayland driver knows them. A Wayland compositor shows no
// root window and hands no window of its own to another program, so the
// modes that draw on an X window (--root, --window-id, XSCREENSAVER_WINDOW)
// are refused there, unless the user asks for X (SDL_VIDEODRIVER=x11, which
// reaches XWayland's windows).
#pragma once

#include <string>

#include "platform/sdl-saver/SaverOptions.h"
#include "platform/sdl-saver/X11Host.h"

namespace zirvo::saver {

// Why the mode of `options` cannot run on this session, in one line; empty
// when it can.
std::string WhyNotOnThisSession(const SaverOptions& options);

// SDL's displays as monitors, from left to right (then from top to bottom),
// in points, and the box around them as the root's rectangle. For SDL's
// Wayland driver, where there is no X display to ask.
XDisplayFacts OutputsFromSdl();

}  // namespace zirvo::saver
