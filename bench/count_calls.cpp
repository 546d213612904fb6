// Preloaded into the program, counts its calls of quenorbial_compare4 and
// writes the count to standard error at exit. Each call goes on to the
// library the program would have called, found after this one.
#include <dlfcn.h>
#include <unistd.h>

#include <cstdio>

#include "quenorbial.h"

namespace {

using Compare = int (*)(const char *, const char *, int, int);

Compare next_compare = nullptr;
unsigned long long calls = 0;

struct Report {
  ~Report() {
    char text[64];
    int n = std::snprintf(text, sizeof text, "quenorbial_compare4 calls: %llu\n", calls);
    if (n > 0 && write(STDERR_FILENO, text, static_cast<std::size_t>(n)) < 0) return;
  }
} report;

}  // namespace

int quenorbial_compare4(const char *v1, const char *v2, int v1_flags,
                        int v2_flags) noexcept {
  if (next_compare == nullptr) {
    next_compare = reinterpret_cast<Compare>(dlsym(RTLD_NEXT, "quenorbial_compare4"));
  }
  ++calls;
  return next_compare(v1, v2, v1_flags, v2_flags);
}
