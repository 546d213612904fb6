#include "output_buffer.h"

// After a failure the buffer stays full, so that write() takes the slow path
// and says so.
bool OutputBuffer::flush() noexcept {
  if (!failed_ && len_ > 0) failed_ = std::fwrite(buf_, 1, len_, out_) != len_;
  len_ = failed_ ? sizeof buf_ : 0;
  return !failed_;
}

bool OutputBuffer::write_slow(const char *p, std::size_t n) noexcept {
  if (!flush()) return false;
  if (n >= sizeof buf_) {  // a long line goes out as it is
    failed_ = std::fwrite(p, 1, n, out_) != n;
    if (failed_) len_ = sizeof buf_;
    return !failed_;
  }
  std::memcpy(buf_, p, n);
  len_ = n;
  return true;
}
