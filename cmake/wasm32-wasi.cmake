# The web page's WebAssembly module: clang for wasm32-wasi with Debian's
# wasi-libc and its libc++ for that target, linked by lld (wasm-ld).
#   cmake -S . -B build-web -DCMAKE_TOOLCHAIN_FILE=cmake/wasm32-wasi.cmake
# Builds the engine and the web backend only (src/platform/web).
set(CMAKE_SYSTEM_NAME Generic)
set(CMAKE_SYSTEM_PROCESSOR wasm32)

find_program(CMAKE_C_COMPILER NAMES clang-14 clang REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES clang++-14 clang++ REQUIRED)
set(CMAKE_C_COMPILER_TARGET wasm32-wasi)
set(CMAKE_CXX_COMPILER_TARGET wasm32-wasi)
# Debian puts the target's headers and libraries under /usr/{include,lib}/wasm32-wasi.
set(CMAKE_SYSROOT /usr)

# That C++ library is built without exceptions; a module has no main (a
# "reactor": the page calls its exports after _initialize).
set(CMAKE_CXX_FLAGS_INIT "-fno-exceptions")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-mexec-model=reactor")
# No test programs can run here: compile checks build static libraries.
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)

set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
