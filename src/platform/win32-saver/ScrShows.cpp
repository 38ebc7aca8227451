#include "platform/win32-saver/ScrShows.h"

#include <ctime>

#include "app/SceneRotation.h"
#include "platform/win32-saver/ScrFiles.h"
#include "scene/Settings.h"

namespace zirvo::scr {

namespace {

constexpr std::uint64_t kDefaultFrameUs = 1'000'000 / 60;

std::uint64_t DisplayFrameUs() {
  std::uint64_t frameUs = kDefaultFrameUs;
  if (HDC screen = GetDC(nullptr)) {
    const int hertz = GetDeviceCaps(screen, VREFRESH);
    if (hertz > 1)  // 0 and 1 stand for the hardware's default
      frameUs = 1'000'000 / static_cast<std::uint64_t>(hertz);
    ReleaseDC(nullptr, screen);
  }
  return frameUs;
}

}  // namespace

ScrShows::ScrShows(const ScrSetup& setup, MicrosecondClock& clock)
    : setup_(setup), clock_(clock), loader_(setup.saverPath, CurrentFolder(), &IsExistingFile) {}

std::uint64_t ScrShows::TurnWorth(const std::string& scene, const ScreenSize& size) {
  // The settings' wait, if they give one, sets the speed as it sets zirvo.exe's.
  Settings settings;
  ReadSettings(loader_.SettingsPathFor(scene), size, settings);
  if (settings.WaitCount == 0)
    return kCalibratedTurnUs;
  return TurnWorthUs(settings.WaitCount, MeasureRepetitionNs(clock_));
}

bool ScrShows::Build(std::int32_t width, std::int32_t height, const std::vector<Rect>& areas) {
  surface_ = DibSurface::Create(width, height);
  if (!surface_)
    return false;
  loop_ = std::make_unique<FrameLoop>(clock_, DisplayFrameUs(), setup_.settings.Speed());

  // Nothing to show: a rotation of one scene that does not load, the banner.
  const std::vector<std::string> scenes =
      setup_.scenes.empty() ? std::vector<std::string>{""} : setup_.scenes;
  ShowTiming timing;
  timing.turnUs = TurnWorth(scenes.front(), ScreenSize{width, height});
  const auto seed = static_cast<std::uint32_t>(std::time(nullptr));
  std::vector<SaverShow*> shows;
  for (std::size_t i = 0; i < areas.size(); ++i) {
    const auto showSeed = seed + static_cast<std::uint32_t>(i);
    areas_.push_back(std::make_unique<AreaCanvas>(*surface_, areas[i]));
    shows_.push_back(std::make_unique<SaverShow>(
        *areas_.back(), loader_, SceneRotation(scenes, showSeed), timing, showSeed));
    shows.push_back(shows_.back().get());
  }
  loop_->SetShows(std::move(shows));
  loop_->RestartAll();
  return true;
}

void ScrShows::Frame(HWND window) {
  loop_->RunFrame();
  if (HDC dc = GetDC(window)) {
    surface_->Present(dc);
    ReleaseDC(window, dc);
  }
}

void ScrShows::Paint(HDC dc, const RECT& rect) const {
  if (surface_)
    surface_->Copy(dc, rect);
  else
    FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

}  // namespace zirvo::scr
