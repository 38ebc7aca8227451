# What both MinGW-w64 toolchain files share, for the processor they set
# (CMAKE_SYSTEM_PROCESSOR) and its tool prefix (ZIRVO_MINGW_PREFIX).
# The posix thread flavour of the compiler gives the full C++ thread library;
# the programs link it, libgcc and libstdc++ statically (see src/platform/win32),
# so they need no DLL beyond the ones Windows ships.
set(CMAKE_SYSTEM_NAME Windows)

find_program(CMAKE_C_COMPILER NAMES ${ZIRVO_MINGW_PREFIX}-gcc-posix ${ZIRVO_MINGW_PREFIX}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${ZIRVO_MINGW_PREFIX}-g++-posix ${ZIRVO_MINGW_PREFIX}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${ZIRVO_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ZIRVO_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
