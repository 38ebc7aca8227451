#include "platform/win32-saver/ScrChoices.h"

#include <utility>

#include "app/FramePacer.h"

namespace zirvo::scr {

SaverChoices ScrChoices(const ScrSettings& settings, std::vector<std::string> scenes,
                        std::uint32_t seed, int refreshHertz) {
  SaverChoices choices;
  choices.scenes = std::move(scenes);
  choices.seed = seed;
  choices.speed = settings.Speed();
  choices.frameNs = FramePacer::FrameNsOfRefresh(refreshHertz);
  return choices;
}

}  // namespace zirvo::scr
