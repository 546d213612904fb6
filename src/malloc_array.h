// MallocArray: an array from malloc or posix_memalign, freed by free when
// its owner goes.
#ifndef QUENORBIAL_SORT_MALLOC_ARRAY_H
#define QUENORBIAL_SORT_MALLOC_ARRAY_H

#include <sys/mman.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <type_traits>
#include <utility>

struct Free {
  void operator()(void *p) const noexcept { std::free(p); }
};

// Of elements that may be moved as bytes, as realloc moves them.
template <class T>
using MallocArray = std::unique_ptr<T[], Free>;

// Room for `bytes`, untouched, so that pages not yet used cost nothing;
// null when memory runs out. Room for two 2 MiB pages or more starts at one
// and asks for huge pages for all of it: the kernel then fills them 2 MiB to
// a fault, and reads all over them miss the TLB less. Less, all that a short
// input has, keeps to small pages.
inline void *allocate_bytes(std::size_t bytes) noexcept {
  constexpr std::size_t kHuge = std::size_t{2} << 20;
  if (bytes < 2 * kHuge || bytes > SIZE_MAX - kHuge) return std::malloc(bytes);
  std::size_t whole = (bytes + kHuge - 1) & ~(kHuge - 1);
  void *p;
  if (posix_memalign(&p, kHuge, whole) != 0) return nullptr;
#ifdef MADV_HUGEPAGE
  madvise(p, whole, MADV_HUGEPAGE);  // only advice: where not taken, the pages stay small
#endif
  return p;
}

// Makes room for `n` elements, keeping those there are; false, with the
// array as it was, when memory runs out. realloc, so that a large array can
// grow in place or by remapping its pages instead of being copied.
template <class T>
[[nodiscard]] bool resize(MallocArray<T> &a, std::size_t n) noexcept {
  static_assert(std::is_trivially_copyable<T>::value, "realloc moves the bytes");
  void *p = std::realloc(a.get(), n * sizeof(T));
  if (p == nullptr) return false;
  a.release();
  a.reset(static_cast<T *>(p));
  return true;
}

// Room for `n` elements, as allocate_bytes() gives it.
template <class T>
MallocArray<T> allocate(std::size_t n) noexcept {
  static_assert(std::is_trivially_copyable<T>::value, "the elements are left unbuilt");
  if (n > SIZE_MAX / sizeof(T)) return nullptr;
  return MallocArray<T>(static_cast<T *>(allocate_bytes(n * sizeof(T))));
}

// Makes room for `n` elements, keeping the first `used`; false, with the
// array as it was, when memory runs out. Room for as many as fill kCopyFrom
// or more is new memory that gets huge pages, the elements copied there: a
// realloc would move the small pages it has, and fault in each new one
// alone.
template <class T>
[[nodiscard]] bool grow(MallocArray<T> &a, std::size_t used, std::size_t n) noexcept {
  constexpr std::size_t kCopyFrom = std::size_t{4} << 20;
  if (n * sizeof(T) < kCopyFrom) return resize(a, n);
  MallocArray<T> b = allocate<T>(n);
  if (!b) return false;
  if (used > 0) std::memcpy(b.get(), a.get(), used * sizeof(T));
  a = std::move(b);
  return true;
}

#endif  // QUENORBIAL_SORT_MALLOC_ARRAY_H
