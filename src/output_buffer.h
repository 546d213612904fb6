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
  // The most the buffer gathers before it hands it on.
  static constexpr std::size_t kSize = 64 * 1024;

  // Allocates room for `total` bytes, the most that will be written, and
  // one more, so that the last write is gathered too; kSize at most. A
  // short listing touches no more memory than it fills. Allocated here, so
  // that running out of memory comes before anything is written: without
  // its room the buffer starts failed with ENOMEM.
  OutputBuffer(std::FILE *out, std::size_t total) noexcept
      : out_(out), size_(total < kSize ? total + 1 : kSize), buf_(allocate<char>(size_)) {
    if (!buf_) fail(ENOMEM);
  }
  ~OutputBuffer() { flush(); }
  OutputBuffer(const OutputBuffer &) = delete;
  OutputBuffer &operator=(const OutputBuffer &) = delete;

  // Appends `n` bytes; false once a write has failed.
  bool write(const char *p, std::size_t n) noexcept {
    // Strictly less, so that a failed buffer, held full, is not copied into
    // even for no bytes: it may have no storage.
    if (n < size_ - len_) {
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

  std::FILE *out_;
  std::size_t size_;
  int error_ = 0;
  std::size_t len_ = 0;
  MallocArray<char> buf_;
};

#endif  // QUENORBIAL_SORT_OUTPUT_BUFFER_H
