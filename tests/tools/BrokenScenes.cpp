#include "BrokenScenes.h"

#include <string>

namespace zirvo::testing {

namespace {

std::string FiftyOneBlocks() {
  std::string scene;
  for (int i = 0; i < 51; ++i)
    scene += "nv=5\n\n";
  return scene;
}
const std::string kFiftyOneBlocks = FiftyOneBlocks();

const BrokenScene kBroken[] = {
    {"blocks after the 50th", kFiftyOneBlocks.c_str(), nullptr, 1,
     "scene.zrv:101: warning:", "block-ignored"},
    {"rejected scale", "nv=100\nscale=sideways\n", nullptr, 2,
     "scene.zrv:2: error:", "scale-letter"},
    {"screen without two numbers", "\n\nscreen=640\nnv=5\n", nullptr, 2,
     "scene.zrv:3: error:", "screen-needs-two-numbers"},
    {"buffer 4097", "nv=5\n", "screen=640x480\nbuffer=4097\n", 2,
     "settings.ini:2: error:", "buffer-too-big"},
    {"missing file", nullptr, nullptr, 2, "scene.zrv: error:", "cannot-open"},
    {"indented key", "nv=100\n  bs=50\nc=3\n", nullptr, 1, "scene.zrv:2: warning:", "indented-key"},
    {"unknown key", "nv=100\ncolr=5\n", nullptr, 1, "scene.zrv:2: warning:", "unknown-key"},
    {"blank before equals", "nv =100\n", nullptr, 1,
     "scene.zrv:1: warning:", "blank-before-equals"},
    {"not a number", "nv=100\nbs=lots\n", nullptr, 1, "scene.zrv:2: warning:", "not-a-number"},
    {"colour index", "c=16\n", nullptr, 1, "scene.zrv:1: warning:", "colour-index"},
    {"m other than 1", "m=2\n", nullptr, 1, "scene.zrv:1: warning:", "m-not-one"},
    {"random after number", "px=100\npx=r\n", nullptr, 1,
     "scene.zrv:2: warning:", "random-after-number"},
    {"nw of 0", "nw=0\n", nullptr, 1, "scene.zrv:1: warning:", "zero-angle-step"},
    {"bs above nv", "nv=10\nbs=20\n", nullptr, 1, "scene.zrv:2: warning:", "bs-above-nv"},
    {"n above 500", "n=800\n", nullptr, 1, "scene.zrv:1: warning:", "n-above-500"},
    {"start after stop", "start=20\nstop=10\n", nullptr, 1,
     "scene.zrv:1: warning:", "start-after-stop"},
    {"d carried", "d=1\nnv=5\n\nnv=6\n", nullptr, 1, "scene.zrv:4: warning:", "direction-carried"},
    {"virtual too small", "screen=1x100\nnv=5\n", nullptr, 2,
     "scene.zrv:1: error:", "virtual-screen-too-small"},
};

}  // namespace

std::span<const BrokenScene> BrokenScenes() {
  return kBroken;
}

}  // namespace zirvo::testing
