// Preloaded into the program to make one allocation fail, as when memory
// runs out: the call of malloc, calloc, realloc or posix_memalign numbered
// FAIL_ALLOC_AT, counted from 1 from when the library starts, fails with
// ENOMEM.
// At the end the number of calls counted is written to the file named by
// FAIL_ALLOC_TALLY, so that a test knows where to stop.
#include <dlfcn.h>

#include <atomic>
#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstdlib>

namespace {

std::atomic<long> calls{0};
long fail_at = 0;  // none
std::atomic<bool> resolving{false};

template <class F>
F next(const char *name) {
  resolving = true;
  F f = reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
  resolving = false;
  return f;
}

// Whether this call is to fail; asked before the real function is looked
// up. Older dlsym asks for memory while it looks, and does without when it
// gets none.
bool fails() {
  if (resolving) return true;
  if (++calls != fail_at) return false;
  errno = ENOMEM;
  return true;
}

__attribute__((constructor)) void start() {
  if (const char *at = std::getenv("FAIL_ALLOC_AT")) fail_at = std::strtol(at, nullptr, 10);
  calls = 0;
}

__attribute__((destructor)) void tally() {
  const char *path = std::getenv("FAIL_ALLOC_TALLY");
  if (path == nullptr) return;
  long n = calls;
  if (std::FILE *f = std::fopen(path, "w")) {
    std::fprintf(f, "%ld\n", n);
    std::fclose(f);
  }
}

}  // namespace

extern "C" __attribute__((visibility("default"))) void *malloc(std::size_t n) {
  using Malloc = void *(*)(std::size_t);
  if (fails()) return nullptr;
  static const Malloc real = next<Malloc>("malloc");
  return real(n);
}

extern "C" __attribute__((visibility("default"))) void *calloc(std::size_t k, std::size_t n) {
  using Calloc = void *(*)(std::size_t, std::size_t);
  if (fails()) return nullptr;
  static const Calloc real = next<Calloc>("calloc");
  return real(k, n);
}

extern "C" __attribute__((visibility("default"))) void *realloc(void *p, std::size_t n) {
  using Realloc = void *(*)(void *, std::size_t);
  if (fails()) return nullptr;
  static const Realloc real = next<Realloc>("realloc");
  return real(p, n);
}

extern "C" __attribute__((visibility("default"))) int posix_memalign(void **p, std::size_t align,
                                                                   std::size_t n) {
  using Memalign = int (*)(void **, std::size_t, std::size_t);
  if (fails()) return ENOMEM;
  static const Memalign real = next<Memalign>("posix_memalign");
  return real(p, align, n);
}
