// The zirvo program on SDL, from its command line to its exit code: the
// display, the shell, and the program's path and scene read from argv.
#pragma once

#include "platform/sdl/SdlObserver.h"

namespace zirvo {

// `observer`, when not null, watches the backend from before its window opens.
int RunZirvo(int argc, char** argv, SdlObserver* observer);

}  // namespace zirvo
