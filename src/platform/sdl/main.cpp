// zirvo SCENE: the show on an SDL2 display. The settings file zirvo.ini is read
// from the directory of the executable (its real path), else the current one.
#include "platform/sdl/SdlMain.h"

int main(int argc, char** argv) {
  return zirvo::RunZirvo(argc, argv, nullptr);
}
