#include "version_list.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string_view>
#include <utility>

#include "merge_sort.h"
#include "quenorbial.h"

namespace {

// What the list allocates starts small, so that a short input touches
// little memory: the block an input is read into doubles while the input
// fills it, up to kReadBlock, and the lines' array doubles from kFirstLines.
constexpr std::size_t kFirstBlock = 1 << 16;
constexpr std::size_t kReadBlock = 1 << 20;
constexpr std::size_t kFirstLines = 128;
// Shared by long lines, each twice the one before up to kLastChunk, so that
// a short input keeps to a small one and most of a large input's lie in
// huge pages, which the sort's reads all over them need.
constexpr std::size_t kFirstChunk = 1 << 20;
constexpr std::size_t kLastChunk = 1 << 24;
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

VersionList::VersionList(int flags) noexcept : flags_(flags), chunk_size_(kFirstChunk) {}

VersionList::VersionList(VersionList &&other) noexcept
    : flags_(other.flags_),
      lines_(std::exchange(other.lines_, Lines())),
      chunks_(std::move(other.chunks_)),
      room_(std::exchange(other.room_, nullptr)),
      room_left_(std::exchange(other.room_left_, 0)),
      chunk_size_(std::exchange(other.chunk_size_, kFirstChunk)) {}

VersionList &VersionList::operator=(VersionList &&other) noexcept {
  if (this != &other) {
    flags_ = other.flags_;
    lines_ = std::exchange(other.lines_, Lines());
    chunks_ = std::move(other.chunks_);
    room_ = std::exchange(other.room_, nullptr);
    room_left_ = std::exchange(other.room_left_, 0);
    chunk_size_ = std::exchange(other.chunk_size_, kFirstChunk);
  }
  return *this;
}

void VersionList::FreeChunks::operator()(char *chunk) const noexcept {
  while (chunk != nullptr) {
    char *before;
    std::memcpy(&before, chunk, sizeof before);
    std::free(chunk);
    chunk = before;
  }
}

char *VersionList::new_chunk(std::size_t size) noexcept {
  if (size > SIZE_MAX - sizeof(char *)) return nullptr;
  char *chunk = static_cast<char *>(allocate_bytes(sizeof(char *) + size));
  if (chunk == nullptr) return nullptr;
  char *before = chunks_.release();
  std::memcpy(chunk, &before, sizeof before);
  chunks_.reset(chunk);
  return chunk + sizeof before;
}

char *VersionList::store(std::size_t n) noexcept {
  if (n > room_left_) {
    std::size_t size = n >= kOwnChunk ? n : chunk_size_;
    char *bytes = new_chunk(size);
    if (bytes == nullptr) return nullptr;
    if (size == chunk_size_) chunk_size_ = std::min(kLastChunk, 2 * size);
    if (size == n) return bytes;
    room_ = bytes;
    room_left_ = size;
  }
  char *p = room_;
  room_ += n;
  room_left_ -= n;
  return p;
}

bool VersionList::reserve(std::size_t lines, std::size_t bytes) noexcept {
  bool got = lines > lines_.capacity_ && grow(lines_.data_, lines_.size_, lines);
  if (got) lines_.capacity_ = lines;
  if (bytes > room_left_) {
    if (char *room = new_chunk(bytes)) {
      room_ = room;
      room_left_ = bytes;
    }
  }
  return got;
}

bool VersionList::append(const char *p, std::size_t n) noexcept {
  if (lines_.size_ == lines_.capacity_) {
    std::size_t cap = std::max(kFirstLines, 2 * lines_.capacity_);
    if (!grow(lines_.data_, lines_.size_, cap)) return false;
    lines_.capacity_ = cap;
  }
  if (n > Line::kInline) {  // the line will point to a copy that lasts
    char *s = n <= Line::kMaxSize ? store(n + 1) : nullptr;
    if (s == nullptr) return false;
    std::memcpy(s, p, n);
    s[n] = '\0';
    p = s;
  }
  new (lines_.data_.get() + lines_.size_) Line(p, n);
  ++lines_.size_;
  return true;
}

int VersionList::read_lines(int fd) noexcept {
  struct stat st;
  bool reserved = false;
  if (fstat(fd, &st) == 0) {
    if (S_ISDIR(st.st_mode)) return EISDIR;
    // A file of n bytes holds at most n + 1 lines, and the long ones need
    // at most n + 1 bytes with their NULs. Room for them all at once costs
    // only the pages that they fill, and spares the copies of an array that
    // doubles and the partly filled pages of many chunks.
    if (S_ISREG(st.st_mode) && st.st_size > 0 &&
        static_cast<std::uintmax_t>(st.st_size) < SIZE_MAX / sizeof(Line) - lines_.size_ - 1) {
      std::size_t n = static_cast<std::size_t>(st.st_size) + 1;
      reserved = reserve(lines_.size_ + n, n);
    }
  }
  std::size_t cap = kFirstBlock;
  MallocArray<char> block = allocate<char>(cap);
  if (!block) return ENOMEM;
  std::size_t begin = 0;  // [begin, len) is a line without its line feed yet
  std::size_t len = 0;
  int err = 0;
  for (;;) {
    if (len == cap) {
      if (begin > 0 && cap >= kReadBlock) {
        std::memmove(block.get(), block.get() + begin, len - begin);
        len -= begin;
        begin = 0;
      } else {  // a small block, or one line fills it
        cap *= 2;
        if (!resize(block, cap)) return ENOMEM;
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
      if (!append(b + begin, static_cast<std::size_t>(p - b) - begin)) return ENOMEM;
      begin = static_cast<std::size_t>(++p - b);
    }
    len += static_cast<std::size_t>(got);
  }
  if (begin < len && !append(block.get() + begin, len - begin)) return ENOMEM;
  // Room for as many lines as the file has bytes is mostly room for none:
  // it goes back, so that a limit on the address space leaves the sort its
  // buffer. Only address space: untouched, the rest never cost memory.
  if (reserved && lines_.size_ > 0 && resize(lines_.data_, lines_.size_)) {
    lines_.capacity_ = lines_.size_;
  }
  return err;
}

bool VersionList::less(const Line &a, const Line &b) const noexcept {
  int r = quenorbial_compare4(a.c_str(), b.c_str(), flags_, flags_);
  if (r != 0) return r < 0;
  return bytes_before(a.view(), b.view());
}

int VersionList::sort() noexcept {
  bool sorted = merge_sort(lines_.data_.get(), lines_.size_,
                           [this](const Line &a, const Line &b) { return less(a, b); });
  return sorted ? 0 : ENOMEM;
}
