// OutputBuffer: gathers a listing and hands it to a stream in large chunks.
#ifndef QUENORBIAL_SORT_OUTPUT_BUFFER_H
#define QUENORBIAL_SORT_OUTPUT_BUFFER_H

#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstring>

#include "malloc_array.h"

// One call of the stream per chunk instead of one per line, each of which
// would take the stream's lock. Once a write fails nothing more is written,
// and the buffer keeps the reason.
class OutputBuffer {
 public:
  // Allocates the buffer, so that running out of memory comes before
  // anything is written: without it the buffer starts failed with ENOMEM.
  explicit OutputBuffer(std::FILE *out) noexcept : out_(out), buf_(allocate<char>(kSize)) {
    if (!buf_) fail(ENOMEM);
  }
  ~OutputBuffer() { flush(); }
  OutputBuffer(const OutputBuffer &) = delete;
  OutputBuffer &operator=(const OutputBuffer &) = delete;

  // Appends `n` bytes; false once a write has failed.
  bool write(const char *p, std::size_t n) noexcept {
    // Strictly less, so that a failed buffer, held full, is not copied into
    // even for no bytes: it may have no storage.
    if (n < kSize - len_) {
      std::memcpy(buf_.get() + len_, p, n);
      len_ += n;
      return true;
    }
    return write_slow(p, n);
  }

  // Hands what is gathered to the stream; false once a write has failed.
  bool flush() noexcept;

  // Hands what is gathered to the stream and flushes the stream. Returns 0,
  // or the errno of the first write that failed (ENOMEM when the buffer
  // could not be allocated).
  int finish() noexcept;

 private:
  bool write_slow(const char *p, std::size_t n) noexcept;
  // Keeps the reason of the first failure, `err` or else EIO. Returns false.
  bool fail(int err) noexcept;

  static constexpr std::size_t kSize = 64 * 1024;

  std::FILE *out_;
  int error_ = 0;
  std::size_t len_ = 0;
  MallocArray<char> buf_;
};

#endif  // QUENORBIAL_SORT_OUTPUT_BUFFER_H
