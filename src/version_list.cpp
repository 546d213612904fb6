#include "version_list.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

#include "output_buffer.h"
#include "quenorbial.h"

namespace {

using Line = VersionList::Line;

constexpr std::size_t kReadBlock = 1 << 20;
constexpr std::size_t kChunk = 1 << 20;     // shared by long lines
constexpr std::size_t kOwnChunk = 1 << 16;  // a line this long gets its own
constexpr std::size_t kInsertionRun = 8;
constexpr std::size_t kSizeBytes = 7;       // of a long line's size

// realloc, so that a large block can grow in place or by remapping its pages
// instead of being copied.
void *grow(void *p, std::size_t n) {
  void *q = std::realloc(p, n);
  if (q == nullptr) throw std::bad_alloc();
  return q;
}

// Whether two lines hold the same bytes. Equal elements do: the same inline
// bytes, or the same pointer and size. Otherwise only two long lines can.
inline bool same_bytes(const Line &a, const Line &b) noexcept {
  std::uint64_t x[2];
  std::uint64_t y[2];
  static_assert(sizeof x == sizeof(Line), "a line is two words");
  std::memcpy(x, &a, sizeof x);
  std::memcpy(y, &b, sizeof y);
  if (x[0] == y[0] && x[1] == y[1]) return true;
  return !a.is_inline() && !b.is_inline() && a.view() == b.view();
}

// A merge sort, because every index it touches is bounded by the range: a
// comparison that is not a strict weak order (a faulty library) can only
// permute the lines. std::sort's unguarded partition may run past the range
// under such a comparison.
template <class Less>
void insertion_sort(Line *a, std::size_t n, const Less &less) {
  for (std::size_t i = 1; i < n; ++i) {
    Line x = a[i];
    std::size_t j = i;
    for (; j > 0 && less(x, a[j - 1]); --j) a[j] = a[j - 1];
    a[j] = x;
  }
}

// Sorts a[0, n) using tmp[0, n / 2) as scratch.
template <class Less>
void merge_sort(Line *a, std::size_t n, Line *tmp, const Less &less) {
  if (n <= kInsertionRun) {
    insertion_sort(a, n, less);
    return;
  }
  std::size_t half = n / 2;
  merge_sort(a, half, tmp, less);
  merge_sort(a + half, n - half, tmp, less);
  if (!less(a[half], a[half - 1])) return;  // the halves are in order already
  std::copy(a, a + half, tmp);
  const Line *l = tmp, *l_end = tmp + half;
  Line *r = a + half, *r_end = a + n, *out = a;
  while (l < l_end && r < r_end) {
    // A line that repeats the one just taken would get the same answer:
    // less() depends on nothing but the bytes of its two lines.
    if (less(*r, *l)) {
      const Line taken = *r;
      do *out++ = *r++; while (r < r_end && same_bytes(*r, taken));
    } else {
      const Line taken = *l;
      do *out++ = *l++; while (l < l_end && same_bytes(*l, taken));
    }
  }
  std::copy(l, l_end, out);  // what is left of the right half is in place
}

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

const char *Line::pointer() const noexcept {
  const char *p;
  std::memcpy(&p, bytes_, sizeof p);
  return p;
}

std::size_t Line::long_size() const noexcept {
  std::size_t n = 0;
  for (std::size_t i = kSizeBytes; i-- > 0;) {
    n = n << 8 | static_cast<unsigned char>(bytes_[sizeof(char *) + i]);
  }
  return n;
}

void VersionList::Free::operator()(char *p) const noexcept { std::free(p); }

VersionList::~VersionList() { std::free(lines_.data_); }

VersionList::VersionList(VersionList &&other) noexcept
    : flags_(other.flags_),
      lines_(std::exchange(other.lines_, Lines())),
      chunks_(std::move(other.chunks_)),
      room_(std::exchange(other.room_, nullptr)),
      room_left_(std::exchange(other.room_left_, 0)) {}

VersionList &VersionList::operator=(VersionList &&other) noexcept {
  if (this != &other) {
    std::free(lines_.data_);
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
    chunks_.emplace_back(static_cast<char *>(grow(nullptr, size)));
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
  static_assert(sizeof(char *) + kSizeBytes + 1 == sizeof(Line),
                "a long line is a pointer, its size and the tag");
  if (lines_.size_ == lines_.capacity_) {
    std::size_t cap = std::max<std::size_t>(1024, 2 * lines_.capacity_);
    lines_.data_ = static_cast<Line *>(grow(lines_.data_, cap * sizeof(Line)));
    lines_.capacity_ = cap;
  }
  Line &line = *new (lines_.data_ + lines_.size_) Line();
  if (n <= Line::kInline) {
    std::memcpy(line.bytes_, p, n);
    line.bytes_[Line::kInline] = static_cast<char>(Line::kInline - n);
  } else {
    if (static_cast<std::uint64_t>(n) >> (8 * kSizeBytes) != 0) {
      throw std::bad_alloc();  // more than memory can hold anyway
    }
    char *s = store(n + 1);
    std::memcpy(s, p, n);
    s[n] = '\0';
    std::memcpy(line.bytes_, &s, sizeof s);
    for (std::size_t i = 0; i < kSizeBytes; ++i) {
      line.bytes_[sizeof s + i] = static_cast<char>(n >> (8 * i));
    }
    line.bytes_[Line::kInline] = static_cast<char>(Line::kLong);
  }
  ++lines_.size_;
}

int VersionList::read_lines(int fd) {
  struct stat st;
  if (fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) return EISDIR;
  std::size_t cap = kReadBlock;
  std::unique_ptr<char[], Free> block(static_cast<char *>(grow(nullptr, cap)));
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
        block.reset(static_cast<char *>(grow(block.release(), cap)));
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
  std::size_t n = lines_.size_;
  if (n < 2) return;
  std::unique_ptr<Line, void (*)(void *)> tmp(
      static_cast<Line *>(grow(nullptr, n / 2 * sizeof(Line))), std::free);
  merge_sort(lines_.data_, n, tmp.get(),
             [this](const Line &a, const Line &b) { return less(a, b); });
}

void VersionList::print_plain(std::FILE *out) const {
  OutputBuffer buf(out);
  for (const Line &line : lines_) {
    if (!buf.write(line.c_str(), line.size()) || !buf.write("\n", 1)) return;
  }
}

void VersionList::print_verbose(std::FILE *out) const {
  OutputBuffer buf(out);
  static const Line kEmpty;
  const Line *prev = &kEmpty;
  for (const Line &line : lines_) {
    bool before = less(*prev, line);
    if (!buf.write(line.c_str(), line.size()) ||
        !(before ? buf.write(" (<)\n", 5) : buf.write(" (==)\n", 6))) {
      return;
    }
    prev = &line;
  }
}
