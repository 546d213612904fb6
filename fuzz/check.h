// CHECK: a fuzzer's assertion, kept in release builds, where assert is not.
#ifndef QUENORBIAL_FUZZ_CHECK_H
#define QUENORBIAL_FUZZ_CHECK_H

#include <cstdio>
#include <cstdlib>

#define CHECK(cond)                                           \
  do {                                                        \
    if (!(cond)) {                                            \
      std::fprintf(stderr, "check failed: %s\n", #cond);      \
      std::abort();                                           \
    }                                                         \
  } while (0)

#endif  // QUENORBIAL_FUZZ_CHECK_H
