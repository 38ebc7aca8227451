function(zirvo_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow
    -Wnon-virtual-dtor -Wold-style-cast -Wcast-align -Wunused -Woverloaded-virtual
    -Wnull-dereference -Wdouble-promotion -Wformat=2 -Wimplicit-fallthrough)
  # GCC 12 at -O3 reports overlapping copies inside std::string's own
  # operator+ ("..." + std::string&&) that cannot happen: a known false
  # -Wrestrict of that compiler's library inlining. Later releases are quiet.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(${target} PRIVATE -Wno-restrict)
  endif()
  if(ZIRVO_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
