// Preloaded into the program to make a read fail after the data: a read
// that would report the end of the input fails with EIO instead, so the
// lines before the failure are there to keep.
#include <dlfcn.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>

extern "C" __attribute__((visibility("default"))) ssize_t read(
    int fd, void *buf, std::size_t n) {
  using Read = ssize_t (*)(int, void *, std::size_t);
  static const Read next = reinterpret_cast<Read>(dlsym(RTLD_NEXT, "read"));
  ssize_t got = next(fd, buf, n);
  if (got == 0 && n > 0) {
    errno = EIO;
    return -1;
  }
  return got;
}
