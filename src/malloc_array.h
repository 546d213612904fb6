// MallocArray: an array from malloc, freed by free when its owner goes.
#ifndef QUENORBIAL_SORT_MALLOC_ARRAY_H
#define QUENORBIAL_SORT_MALLOC_ARRAY_H

#include <cstddef>
#include <cstdlib>
#include <memory>
#include <type_traits>

struct Free {
  void operator()(void *p) const noexcept { std::free(p); }
};

// Of elements that may be moved as bytes, as realloc moves them.
template <class T>
using MallocArray = std::unique_ptr<T[], Free>;

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

// Room for `n` elements, untouched, so that pages not yet used cost nothing;
// null when memory runs out.
template <class T>
MallocArray<T> allocate(std::size_t n) noexcept {
  static_assert(std::is_trivially_copyable<T>::value, "the elements are left unbuilt");
  return MallocArray<T>(static_cast<T *>(std::malloc(n * sizeof(T))));
}

#endif  // QUENORBIAL_SORT_MALLOC_ARRAY_H
