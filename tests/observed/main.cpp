// zirvo-observed: zirvo itself with a RunLog watching its SDL backend, for the
// end-to-end tests and the frame-time benchmark. Everything else is zirvo's.
#include "observed/RunLog.h"
#include "platform/sdl/SdlMain.h"

int main(int argc, char** argv) {
  zirvo::RunLog log;
  return zirvo::RunZirvo(argc, argv, &log);
}
