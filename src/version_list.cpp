#include "version_list.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <new>

#include "quenorbial.h"

namespace {

using Line = VersionList::Line;

constexpr std::size_t kFirstBlock = 64 * 1024;
constexpr std::size_t kInsertionRun = 16;

// realloc lets a large block grow or shrink in place instead of being copied.
template <class Block>
void resize(Block &block, std::size_t n) {
  void *q = std::realloc(block.get(), n);
  if (q == nullptr) throw std::bad_alloc();
  (void)block.release();
  block.reset(static_cast<char *>(q));
}

std::size_t count_lines(const char *p, const char *end) {
  std::size_t n = 0;
  while (const void *nl = std::memchr(p, '\n', static_cast<std::size_t>(end - p))) {
    p = static_cast<const char *>(nl) + 1;
    ++n;
  }
  return p == end ? n : n + 1;
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
  while (l < l_end && r < r_end) *out++ = less(*r, *l) ? *r++ : *l++;
  std::copy(l, l_end, out);  // what is left of the right half is in place
}

}  // namespace

void VersionList::Free::operator()(char *p) const noexcept { std::free(p); }

int VersionList::read_lines(int fd) {
  struct stat st;
  bool known = fstat(fd, &st) == 0;
  if (known && S_ISDIR(st.st_mode)) return EISDIR;
  // One byte more than a regular file holds, so that the end is seen without
  // growing, and there is always room for the last line's NUL.
  std::size_t cap = known && S_ISREG(st.st_mode) && st.st_size > 0
                        ? static_cast<std::size_t>(st.st_size) + 1
                        : kFirstBlock;
  std::unique_ptr<char[], Free> block;
  resize(block, cap);
  std::size_t len = 0;
  int err = 0;
  for (;;) {
    if (cap - len < 2) {
      cap *= 2;
      resize(block, cap);
    }
    ssize_t got = read(fd, block.get() + len, cap - len - 1);
    if (got > 0) {
      len += static_cast<std::size_t>(got);
    } else if (got == 0) {
      break;
    } else if (errno != EINTR) {
      err = errno;
      break;
    }
  }
  if (len == 0) return err;
  resize(block, len + 1);

  char *p = block.get();
  char *end = p + len;
  std::size_t need = lines_.size() + count_lines(p, end);
  if (need > lines_.capacity()) {
    lines_.reserve(std::max(need, 2 * lines_.capacity()));
  }
  blocks_.push_back(std::move(block));
  while (p < end) {
    char *nl = static_cast<char *>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
    if (nl == nullptr) nl = end;
    *nl = '\0';
    lines_.push_back({p, static_cast<std::size_t>(nl - p)});
    p = nl + 1;
  }
  return err;
}

bool VersionList::less(const Line &a, const Line &b) const noexcept {
  int r = quenorbial_compare4(a.data, b.data, flags_, flags_);
  if (r != 0) return r < 0;
  return a.view() < b.view();  // bytes as unsigned values, then length
}

void VersionList::sort() {
  if (lines_.size() < 2) return;
  std::vector<Line> tmp(lines_.size() / 2);
  merge_sort(lines_.data(), lines_.size(), tmp.data(),
             [this](const Line &a, const Line &b) { return less(a, b); });
}

void VersionList::print_verbose(std::FILE *out) const {
  static const Line kEmpty{"", 0};
  const Line *prev = &kEmpty;
  for (const Line &line : lines_) {
    const char *mark = less(*prev, line) ? " (<)\n" : " (==)\n";
    if (std::fwrite(line.data, 1, line.size, out) != line.size ||
        std::fputs(mark, out) == EOF) {
      return;
    }
    prev = &line;
  }
}
