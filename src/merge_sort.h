// merge_sort: the sort of the list's lines.
#ifndef QUENORBIAL_SORT_MERGE_SORT_H
#define QUENORBIAL_SORT_MERGE_SORT_H

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "line.h"
#include "malloc_array.h"

namespace merge_sort_internal {

// How many lines ahead of each side a merge asks for the bytes of: a long
// line's bytes lie anywhere, and a merge would otherwise wait for them at
// every other step. It asks once a take, on the side taken from, for the
// line that the take brings into reach: asking on both sides at every step
// asked again for what was already on its way.
constexpr std::ptrdiff_t kAhead = 6;

// `yes` if `c`, else `no`, by arithmetic: a compiler keeps to a branch on
// a plain conditional, and the answer of less() on different lines is a
// coin flip that a branch would miss at every other step.
inline const Line *pick(bool c, const Line *yes, const Line *no) noexcept {
  std::uintptr_t mask = 0 - static_cast<std::uintptr_t>(c);
  return reinterpret_cast<const Line *>((reinterpret_cast<std::uintptr_t>(yes) & mask) |
                                        (reinterpret_cast<std::uintptr_t>(no) & ~mask));
}

// Asks for the bytes of the line kAhead lines after `p`, short of `end`.
inline void fetch_after(const Line *p, const Line *end) noexcept {
  if (end - p > kAhead) __builtin_prefetch(p[kAhead].c_str());
}

// Asks for the bytes of the line kAhead lines before the one before `p`,
// short of `begin`.
inline void fetch_before(const Line *begin, const Line *p) noexcept {
  if (p - begin > kAhead) __builtin_prefetch(p[-1 - kAhead].c_str());
}

// Merges [l, l_end) and [r, r_end) into `out`, front to back. `out` may be
// `l_end - l` lines before `r`, with the right run already in place.
template <class Less>
void merge_up(const Line *l, const Line *l_end, const Line *r,
              const Line *r_end, Line *out, const Less &less) {
  while (l < l_end && r < r_end) {
    bool right = less(*r, *l);
    const Line *from = pick(right, r, l);
    const Line *from_end = pick(right, r_end, l_end);
    const Line taken = *from;
    *out++ = taken;
    // A line that repeats the one just taken would get the same answer:
    // less() depends on nothing but the bytes of its two lines. Repeats are
    // told by their elements alone: reading long lines' bytes after every
    // take cost more than it saved.
    while (++from < from_end && same_element(*from, taken)) *out++ = taken;
    fetch_after(from, from_end);
    r = pick(right, from, r);
    l = pick(right, l, from);
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
    bool left = less(r_end[-1], l_end[-1]);
    const Line *from_end = pick(left, l_end, r_end);
    const Line *from = pick(left, l, r);
    const Line taken = *--from_end;
    *--out_end = taken;
    while (from_end > from && same_element(from_end[-1], taken)) {
      --from_end;
      *--out_end = taken;
    }
    fetch_before(from, from_end);
    l_end = pick(left, from_end, l_end);
    r_end = pick(left, r_end, from_end);
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
  RunMerger(Line *a, Line *tmp, const Offset *ends, const Less &less)
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
        std::lower_bound(ends_ + i, ends_ + (j - 1), middle) - ends_);
    // Run k starts before the middle and run k + 1 at or after it.
    if (k == j - 1 || (k > i && middle - ends_[k - 1] < ends_[k] - middle)) return k;
    return k + 1;
  }

  Line *a_;
  Line *tmp_;
  const Offset *ends_;
  const Less &less_;
};

// Finds the runs of a[0, n) and merges them; false when memory runs out.
template <class Offset, class Less>
bool sort_runs(Line *a, std::size_t n, const Less &less) {
  // Every run but the last is at least kMinRun long.
  MallocArray<Offset> ends = allocate<Offset>(n / kMinRun + 1);
  if (!ends) return false;
  std::size_t runs = 0;
  for (std::size_t i = 0; i < n;) {
    i = next_run(a, i, n, less);
    ends[runs++] = static_cast<Offset>(i);
  }
  if (runs < 2) return true;
  MallocArray<Line> tmp = allocate<Line>(n / 2);
  if (!tmp) return false;
  RunMerger<Less, Offset>(a, tmp.get(), ends.get(), less).in_place(0, runs);
  return true;
}

}  // namespace merge_sort_internal

// Sorts a[0, n) into ascending order by `less`. A merge sort, because every
// index it touches is bounded by the range: a comparison that is not a
// strict weak order (a faulty library) can only permute the lines, where
// std::sort's unguarded partition may run past the range. `less` must
// depend on nothing but the bytes of its two lines: a merge moves the
// repeats of the line it has just taken without comparing them.
//
// It merges the runs already in order in the input, so that sorted and
// reverse-sorted input take n - 1 comparisons, and it merges between the
// lines and a buffer of half their size in turn, so that no level copies a
// half back before merging it.
//
// Returns false, with the same lines in some order, when there is no room
// for its buffers.
template <class Less>
bool merge_sort(Line *a, std::size_t n, const Less &less) {
  if (n < 2) return true;
  if (n <= UINT32_MAX) return merge_sort_internal::sort_runs<std::uint32_t>(a, n, less);
  return merge_sort_internal::sort_runs<std::size_t>(a, n, less);
}

#endif  // QUENORBIAL_SORT_MERGE_SORT_H
