// The scene reader on arbitrary file contents. The input is the file; its
// length modulo 8 picks the settings the scene starts from and whether the name
// opens as given or only with ".zrv" appended (so sample scenes are seeds as
// they stand). Every record must come out inside
// what the block rules can produce, and noting must not change the reading.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "FuzzCheck.h"
#include "core/Colour.h"
#include "scene/KindTable.h"
#include "scene/MemoryFiles.h"
#include "scene/SceneFile.h"
#include "scene/Settings.h"

namespace {

bool IsDrawingColour(zirvo::COLORREF colour) {
  for (std::size_t i = 1; i < zirvo::Palette16.size(); ++i) {
    if (zirvo::Palette16[i] == colour)
      return true;
  }
  return false;
}

bool IsFlag(std::int32_t value) {
  return value == 0 || value == 1;
}

// The settings a scene may start from: as a settings file leaves them.
zirvo::Settings StartingSettings(std::size_t which) {
  struct Start {
    std::int32_t width, height, scaling, uniform;
  };
  static constexpr Start kStarts[] = {
      {1024, 768, 0, 0}, {640, 480, 1, 0}, {320, 200, 1, 1}, {3, 2, 1, 0}};
  const Start& start = kStarts[which % 4];
  zirvo::Settings settings;
  settings.VirtWidth = start.width;
  settings.VirtHeight = start.height;
  settings.Scaling = start.scaling;
  settings.UniformScale = start.uniform;
  return settings;
}

void CheckRecord(const zirvo::SwirlSpec& kind) {
  FUZZ_CHECK(kind.n <= zirvo::kMaxLiveSwirls, "n above 500");
  FUZZ_CHECK(kind.bs <= kind.nv, "bs above nv");
  FUZZ_CHECK(kind.p != 0 || kind.bs == 0, "p left at 0 with a non-zero bs");
  FUZZ_CHECK(IsFlag(kind.m), "m is not a flag");
  FUZZ_CHECK(kind.colourMode >= -1 && kind.colourMode <= 1, "colourMode out of range");
  FUZZ_CHECK(IsDrawingColour(kind.colour), "colour not a palette entry 1..15");
  FUZZ_CHECK(IsFlag(kind.pxRandom) && IsFlag(kind.pyRandom) && IsFlag(kind.fxRandom) &&
                 IsFlag(kind.fyRandom),
             "a random flag is not a flag");
  FUZZ_CHECK(kind.launchesLeft == (kind.start == 0 ? kind.n : -1),
             "launchesLeft not n (start 0) or -1");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::size_t control = size % 8;
  const std::string text(reinterpret_cast<const char*>(data), size);
  const bool onlyWithExtension = (control & 4u) != 0;

  zirvo::MemoryFiles files;
  files.Put(onlyWithExtension ? "scene.zrv" : "scene", text);

  std::string plainPath = "scene";
  zirvo::Settings plainSettings = StartingSettings(control);
  zirvo::SpecTable plainSpecs;
  const int plainResult =
      zirvo::ReadSceneFile(plainPath, plainSettings, plainSpecs, nullptr, files);

  std::string notedPath = "scene";
  zirvo::Settings notedSettings = StartingSettings(control);
  zirvo::SpecTable notedSpecs;
  zirvo::Diagnostics diag;
  const int notedResult = zirvo::ReadSceneFile(notedPath, notedSettings, notedSpecs, &diag, files);

  FUZZ_CHECK(plainResult == 0 || plainResult == 1, "result is not 0 or 1");
  FUZZ_CHECK(plainResult == notedResult, "Diagnostics changed the result");
  FUZZ_CHECK((plainResult == 0) == diag.HasErrors(), "a failure without an error note or back");
  FUZZ_CHECK(plainPath == notedPath, "Diagnostics changed the path");
  FUZZ_CHECK(plainPath == (onlyWithExtension ? "scene.zrv" : "scene"), "opened the wrong name");
  FUZZ_CHECK(plainSpecs.SpecCount == notedSpecs.SpecCount, "Diagnostics changed SpecCount");
  FUZZ_CHECK(plainSpecs.SpecCount >= 0 && plainSpecs.SpecCount <= zirvo::kMaxKinds,
             "SpecCount out of range");
  FUZZ_CHECK(plainSettings.VirtWidth == notedSettings.VirtWidth &&
                 plainSettings.VirtHeight == notedSettings.VirtHeight &&
                 plainSettings.Scaling == notedSettings.Scaling &&
                 plainSettings.UniformScale == notedSettings.UniformScale,
             "Diagnostics changed the settings");
  FUZZ_CHECK(IsFlag(plainSettings.Scaling) && IsFlag(plainSettings.UniformScale),
             "scale flags are not flags");
  for (std::int32_t k = 0; k < plainSpecs.SpecCount; ++k) {
    // Every field is a 32-bit word, so the bytes compare the records exactly
    // (NaN included).
    FUZZ_CHECK(std::memcmp(&plainSpecs[k], &notedSpecs[k], sizeof(zirvo::SwirlSpec)) == 0,
               "Diagnostics changed a record");
    CheckRecord(plainSpecs[k]);
  }
  return 0;
}
