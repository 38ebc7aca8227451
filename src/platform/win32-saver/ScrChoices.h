// How zirvo.scr sets up its saver core: the scenes to show, the speed the
// settings dialog chose (a percentage of zirvo's calibrated speed), the
// display's refresh, and the seed of the first monitor's show.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/SaverCore.h"
#include "platform/win32-saver/ScrSettings.h"

namespace zirvo::scr {

// `refreshHertz` as GetDeviceCaps(VREFRESH) says it (0 or 1: the hardware's
// default).
SaverChoices ScrChoices(const ScrSettings& settings, std::vector<std::string> scenes,
                        std::uint32_t seed, int refreshHertz);

}  // namespace zirvo::scr
