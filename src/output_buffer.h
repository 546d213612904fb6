// OutputBuffer: gathers a listing and hands it to a stream in large chunks.
#ifndef QUENORBIAL_SORT_OUTPUT_BUFFER_H
#define QUENORBIAL_SORT_OUTPUT_BUFFER_H

#include <cstddef>
#include <cstdio>
#include <cstring>

// One call of the stream per chunk instead of one per line, each of which
// would take the stream's lock. Once a write fails nothing more is written;
// the stream keeps the error for the caller to check.
class OutputBuffer {
 public:
  explicit OutputBuffer(std::FILE *out) noexcept : out_(out) {}
  ~OutputBuffer() { flush(); }
  OutputBuffer(const OutputBuffer &) = delete;
  OutputBuffer &operator=(const OutputBuffer &) = delete;

  // Appends `n` bytes; false once a write has failed.
  bool write(const char *p, std::size_t n) noexcept {
    if (n <= sizeof buf_ - len_) {
      std::memcpy(buf_ + len_, p, n);
      len_ += n;
      return true;
    }
    return write_slow(p, n);
  }

  // Hands what is gathered to the stream; false once a write has failed.
  bool flush() noexcept;

 private:
  bool write_slow(const char *p, std::size_t n) noexcept;

  std::FILE *out_;
  bool failed_ = false;
  std::size_t len_ = 0;
  char buf_[64 * 1024];
};

#endif  // QUENORBIAL_SORT_OUTPUT_BUFFER_H
