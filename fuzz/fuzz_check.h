// The check a fuzz target makes of a property its parser promises: a broken promise stops
// the run like a crash, so that the fuzzer keeps the input.
#pragma once

#include <cstdio>
#include <cstdlib>

#define LCU_FUZZ_CHECK(condition)                                                           \
  do {                                                                                      \
    if (!(condition)) {                                                                     \
      std::fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                         \
    }                                                                                       \
  } while (false)
