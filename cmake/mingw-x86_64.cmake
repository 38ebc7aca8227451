# Cross build of the Windows programs with MinGW-w64 for x86_64, from the same
# sources as the shipped 32-bit ones (cmake/mingw-i686.cmake): a second net,
# which the Wine tests run under wine64 on any machine, never in their stead.
#   cmake -S . -B build-win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(ZIRVO_MINGW_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/MingwToolchain.cmake)
