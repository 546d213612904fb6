#include "output_buffer.h"

#include <cerrno>

// After a failure the buffer stays full, so that write() takes the slow path
// and says so.
bool OutputBuffer::fail(int err) noexcept {
  if (error_ == 0) error_ = err != 0 ? err : EIO;
  len_ = size_;
  return false;
}

bool OutputBuffer::flush() noexcept {
  if (error_ != 0) return false;
  if (len_ > 0 && std::fwrite(buf_.get(), 1, len_, out_) != len_) return fail(errno);
  len_ = 0;
  return true;
}

int OutputBuffer::finish() noexcept {
  if (flush() && std::fflush(out_) == EOF) fail(errno);
  return error_;
}

bool OutputBuffer::write_slow(const char *p, std::size_t n) noexcept {
  if (!flush()) return false;
  if (n >= size_) {  // a long line goes out as it is
    if (std::fwrite(p, 1, n, out_) != n) return fail(errno);
    return true;
  }
  std::memcpy(buf_.get(), p, n);
  len_ = n;
  return true;
}
