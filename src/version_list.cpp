#include "version_list.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>
#include <string_view>
#include <utility>

#include "merge_sort.h"
#include "quenorbial.h"

namespace {

constexpr std::size_t kReadBlock = 1 << 20;
constexpr std::size_t kChunk = 1 << 20;     // shared by long lines
constexpr std::size_t kOwnChunk = 1 << 16;  // a line this long gets its own

// Byte order, unsigned, then length. Mostly two short lines: a loop beats a
// call of memcmp.
bool bytes_before(std::string_view a, std::string_view b) noexcept {
  std::size_t n = std::min(a.size(), b.size());
  if (n > Line::kInline) return a < b;
  for (std::size_t i = 0; i < n; ++i) {
    if (a[i] != b[i]) {
      return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[i]);
    }
  }
  return a.size() < b.size();
}

}  // namespace

VersionList::VersionList(VersionList &&other) noexcept
    : flags_(other.flags_),
      lines_(std::exchange(other.lines_, Lines())),
      chunks_(std::move(other.chunks_)),
      room_(std::exchange(other.room_, nullptr)),
      room_left_(std::exchange(other.room_left_, 0)) {}

VersionList &VersionList::operator=(VersionList &&other) noexcept {
  if (this != &other) {
    flags_ = other.flags_;
    lines_ = std::exchange(other.lines_, Lines());
    chunks_ = std::move(other.chunks_);
    room_ = std::exchange(other.room_, nullptr);
    room_left_ = std::exchange(other.room_left_, 0);
  }
  return *this;
}

char *VersionList::store(std::size_t n) {
  if (n > room_left_) {
    std::size_t size = n >= kOwnChunk ? n : kChunk;
    chunks_.push_back(allocate<char>(size));
    if (size == n) return chunks_.back().get();
    room_ = chunks_.back().get();
    room_left_ = size;
  }
  char *p = room_;
  room_ += n;
  room_left_ -= n;
  return p;
}

void VersionList::append(const char *p, std::size_t n) {
  if (lines_.size_ == lines_.capacity_) {
    std::size_t cap = std::max<std::size_t>(1024, 2 * lines_.capacity_);
    resize(lines_.data_, cap);
    lines_.capacity_ = cap;
  }
  if (n > Line::kInline) {  // the line will point to a copy that lasts
    char *s = store(n + 1);
    std::memcpy(s, p, n);
    s[n] = '\0';
    p = s;
  }
  new (lines_.data_.get() + lines_.size_) Line(p, n);
  ++lines_.size_;
}

int VersionList::read_lines(int fd) {
  struct stat st;
  if (fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) return EISDIR;
  std::size_t cap = kReadBlock;
  MallocArray<char> block = allocate<char>(cap);
  std::size_t begin = 0;  // [begin, len) is a line without its line feed yet
  std::size_t len = 0;
  int err = 0;
  for (;;) {
    if (len == cap) {
      if (begin > 0) {
        std::memmove(block.get(), block.get() + begin, len - begin);
        len -= begin;
        begin = 0;
      } else {  // one line fills the block
        cap *= 2;
        resize(block, cap);
      }
    }
    ssize_t got = read(fd, block.get() + len, cap - len);
    if (got == 0) break;
    if (got < 0) {
      if (errno == EINTR) continue;
      err = errno;
      break;
    }
    const char *b = block.get();
    const char *p = b + len;
    const char *end = p + got;
    while (const void *nl = std::memchr(p, '\n', static_cast<std::size_t>(end - p))) {
      p = static_cast<const char *>(nl);
      append(b + begin, static_cast<std::size_t>(p - b) - begin);
      begin = static_cast<std::size_t>(++p - b);
    }
    len += static_cast<std::size_t>(got);
  }
  if (begin < len) append(block.get() + begin, len - begin);
  return err;
}

bool VersionList::less(const Line &a, const Line &b) const noexcept {
  int r = quenorbial_compare4(a.c_str(), b.c_str(), flags_, flags_);
  if (r != 0) return r < 0;
  return bytes_before(a.view(), b.view());
}

void VersionList::sort() {
  merge_sort(lines_.data_.get(), lines_.size_,
             [this](const Line &a, const Line &b) { return less(a, b); });
}
