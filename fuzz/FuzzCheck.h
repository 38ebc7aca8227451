// A failed property in a harness: print what broke and abort, so libFuzzer
// keeps the input as a crash.
#pragma once

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition, what)                                                   \
  do {                                                                                \
    if (!(condition)) {                                                               \
      std::fprintf(stderr, "%s:%d: %s (%s)\n", __FILE__, __LINE__, what, #condition); \
      std::abort();                                                                   \
    }                                                                                 \
  } while (false)
