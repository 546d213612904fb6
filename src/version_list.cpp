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
constexpr std::size_t kSizeBytes = 7;       // of a long line's size

// realloc, so that a large block can grow in place or by remapping its pages
// instead of being copied.
void *grow(void *p, std::size_t n) {
  void *q = std::realloc(p, n);
  if (q == nullptr) throw std::bad_alloc();
  return q;
}

// Whether two lines are seen to hold the same bytes from their elements
// alone: the same inline bytes, or the same pointer and size. Two long lines
// with the same bytes in copies of their own are left to the comparison:
// reading their bytes here cost more than it saved.
inline bool same_bytes(const Line &a, const Line &b) noexcept {
  std::uint64_t x[2];
  std::uint64_t y[2];
  static_assert(sizeof x == sizeof(Line), "a line is two words");
  std::memcpy(x, &a, sizeof x);
  std::memcpy(y, &b, sizeof y);
  return x[0] == y[0] && x[1] == y[1];
}

// A merge sort, because every index it touches is bounded by the range: a
// comparison that is not a strict weak order (a faulty library) can only
// permute the lines. std::sort's unguarded partition may run past the range
// under such a comparison.
//
// It merges the runs already in order in the input, so that sorted and
// reverse-sorted input take n - 1 comparisons, and it merges between the
// list and a buffer of half its size in turn, so that no level copies a half
// back before merging it.

// Merges [l, l_end) and [r, r_end) into `out`, front to back. `out` may be
// `l_end - l` lines before `r`, with the right run already in place.
template <class Less>
void merge_up(const Line *l, const Line *l_end, const Line *r,
              const Line *r_end, Line *out, const Less &less) {
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
  out = std::copy(l, l_end, out);
  if (out != r) std::copy(r, r_end, out);
}

// Merges [l, l_end) and [r, r_end) into the lines that end at `out_end`,
// back to front, with the left run already in place at their start.
template <class Less>
void merge_down(const Line *l, const Line *l_end, const Line *r,
                const Line *r_end, Line *out_end, const Less &less) {
  while (l < l_end && r < r_end) {
    if (less(r_end[-1], l_end[-1])) {
      const Line taken = l_end[-1];
      do *--out_end = *--l_end; while (l < l_end && same_bytes(l_end[-1], taken));
    } else {
      const Line taken = r_end[-1];
      do *--out_end = *--r_end; while (r < r_end && same_bytes(r_end[-1], taken));
    }
  }
  std::copy_backward(r, r_end, out_end);  // what is left of the left run is in place
}

// Lines in order from a[i] on, as many as there are, but at least kMinRun
// (or to the end): a run in order is taken as it is, one in strictly
// descending order is reversed, and a short one is filled up by binary
// insertion. Returns where the run ends.
constexpr std::size_t kMinRun = 16;

template <class Less>
std::size_t next_run(Line *a, std::size_t i, std::size_t n, const Less &less) {
  std::size_t j = i + 1;
  if (j < n) {
    if (less(a[j], a[i])) {
      do ++j; while (j < n && less(a[j], a[j - 1]));
      std::reverse(a + i, a + j);
    } else {
      do ++j; while (j < n && !less(a[j], a[j - 1]));
    }
  }
  for (std::size_t end = std::min(n, i + kMinRun); j < end; ++j) {
    Line x = a[j];
    Line *at = std::upper_bound(a + i, a + j, x, less);
    std::copy_backward(at, a + j, a + j + 1);
    *at = x;
  }
  return j;
}

// Sorts lines whose runs in order end at the offsets in `ends`, either in
// place or into a buffer, each with the other as scratch. Offsets are kept
// as narrow as the number of lines allows.
template <class Less, class Offset>
class RunMerger {
 public:
  RunMerger(Line *a, Line *tmp, const std::vector<Offset> &ends, const Less &less)
      : a_(a), tmp_(tmp), ends_(ends), less_(less) {}

  // Sorts the runs [i, j) in place, with tmp_ (room for half the lines) as
  // scratch: the smaller part is sorted into tmp_ and merged back.
  void in_place(std::size_t i, std::size_t j) {
    if (j - i < 2) return;
    std::size_t lo = begin(i), hi = ends_[j - 1];
    std::size_t k = split(i, j), mid = ends_[k - 1];
    if (mid - lo <= hi - mid) {
      in_place(k, j);
      into(i, k, tmp_);
      merge_up(tmp_, tmp_ + (mid - lo), a_ + mid, a_ + hi, a_ + lo, less_);
    } else {
      in_place(i, k);
      into(k, j, tmp_);
      merge_down(a_ + lo, a_ + mid, tmp_, tmp_ + (hi - mid), a_ + hi, less_);
    }
  }

  // Sorts the runs [i, j) into `out`, with their own lines as scratch.
  void into(std::size_t i, std::size_t j, Line *out) {
    std::size_t lo = begin(i), hi = ends_[j - 1];
    if (j - i < 2) {
      std::copy(a_ + lo, a_ + hi, out);
      return;
    }
    std::size_t k = split(i, j), mid = ends_[k - 1];
    in_place(i, k);
    in_place(k, j);
    merge_up(a_ + lo, a_ + mid, a_ + mid, a_ + hi, out, less_);
  }

 private:
  std::size_t begin(std::size_t i) const { return i == 0 ? 0 : ends_[i - 1]; }

  // The run k in (i, j) whose start lies nearest the middle of the lines of
  // runs [i, j), so that merges stay balanced.
  std::size_t split(std::size_t i, std::size_t j) const {
    std::size_t lo = begin(i), hi = ends_[j - 1];
    std::size_t middle = lo + (hi - lo) / 2;
    std::size_t k = static_cast<std::size_t>(
        std::lower_bound(ends_.begin() + i, ends_.begin() + (j - 1), middle) - ends_.begin());
    // Run k starts before the middle and run k + 1 at or after it.
    if (k == j - 1 || (k > i && middle - ends_[k - 1] < ends_[k] - middle)) return k;
    return k + 1;
  }

  Line *a_;
  Line *tmp_;
  const std::vector<Offset> &ends_;
  const Less &less_;
};

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

namespace {

// Finds the runs of a[0, n) and merges them.
template <class Offset, class Less>
void sort_runs(Line *a, std::size_t n, const Less &less) {
  std::vector<Offset> ends;
  ends.reserve(n / kMinRun + 1);  // every run but the last is that long
  for (std::size_t i = 0; i < n;) {
    i = next_run(a, i, n, less);
    ends.push_back(static_cast<Offset>(i));
  }
  if (ends.size() < 2) return;
  std::unique_ptr<Line, void (*)(void *)> tmp(
      static_cast<Line *>(grow(nullptr, n / 2 * sizeof(Line))), std::free);
  RunMerger<Less, Offset>(a, tmp.get(), ends, less).in_place(0, ends.size());
}

}  // namespace

void VersionList::sort() {
  std::size_t n = lines_.size_;
  if (n < 2) return;
  auto less = [this](const Line &a, const Line &b) { return this->less(a, b); };
  if (n <= UINT32_MAX) {
    sort_runs<std::uint32_t>(lines_.data_, n, less);
  } else {
    sort_runs<std::size_t>(lines_.data_, n, less);
  }
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
